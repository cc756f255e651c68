// An IDirectSound8 object. The game makes one per scene and per noisy object; all of
// them share the one audio output. Releasing a device stops and discards the buffers
// it made that are still around.
#pragma once

#include <dsound.h>

#include "ComObject.h"

namespace velmora::dsound {

class PrimaryBuffer;

class SoundDevice : public ComObject<IDirectSound8> {
public:
    SoundDevice();
    ~SoundDevice() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    HRESULT STDMETHODCALLTYPE CreateSoundBuffer(LPCDSBUFFERDESC pcDSBufferDesc, LPDIRECTSOUNDBUFFER* ppDSBuffer,
                                                LPUNKNOWN pUnkOuter) override;
    HRESULT STDMETHODCALLTYPE GetCaps(LPDSCAPS pDSCaps) override;
    HRESULT STDMETHODCALLTYPE DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER pDSBufferOriginal,
                                                   LPDIRECTSOUNDBUFFER* ppDSBufferDuplicate) override;
    HRESULT STDMETHODCALLTYPE SetCooperativeLevel(HWND hwnd, DWORD dwLevel) override;

    DWORD cooperativeLevel() const { return level_; }
    void primaryReleased() { primary_ = nullptr; }

private:
    HRESULT createPrimary(const DSBUFFERDESC& desc, LPDIRECTSOUNDBUFFER* buffer);
    HRESULT createSecondary(const DSBUFFERDESC& desc, LPDIRECTSOUNDBUFFER* buffer);

    DWORD level_ = 0;
    PrimaryBuffer* primary_ = nullptr;
};

}  // namespace velmora::dsound
