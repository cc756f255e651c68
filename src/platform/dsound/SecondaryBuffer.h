// A secondary sound buffer: its PCM data (shared with its duplicates), its own cursor,
// play state, volume, frequency and 3D settings. It takes a voice only while it plays.
#pragma once

#include <dsound.h>

#include <memory>

#include "ComObject.h"
#include "PcmData.h"
#include "Sound3DBuffer.h"
#include "Voice.h"
#include "velmora/HeadlessAudio.h"

namespace velmora::dsound {

class SoundDevice;

class SecondaryBuffer : public ComObject<IDirectSoundBuffer8> {
public:
    SecondaryBuffer(SoundDevice& owner, DWORD flags, std::shared_ptr<PcmData> data);
    // A duplicate: same data and settings, stopped at 0.
    SecondaryBuffer(SoundDevice& owner, const SecondaryBuffer& original);
    ~SecondaryBuffer() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;

    HRESULT STDMETHODCALLTYPE GetCaps(LPDSBCAPS pDSBufferCaps) override;
    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LPDWORD pdwCurrentPlayCursor, LPDWORD pdwCurrentWriteCursor) override;
    HRESULT STDMETHODCALLTYPE GetFormat(LPWAVEFORMATEX pwfxFormat, DWORD dwSizeAllocated,
                                        LPDWORD pdwSizeWritten) override;
    HRESULT STDMETHODCALLTYPE GetVolume(LPLONG plVolume) override;
    HRESULT STDMETHODCALLTYPE GetFrequency(LPDWORD pdwFrequency) override;
    HRESULT STDMETHODCALLTYPE GetStatus(LPDWORD pdwStatus) override;
    HRESULT STDMETHODCALLTYPE Lock(DWORD dwOffset, DWORD dwBytes, LPVOID* ppvAudioPtr1, LPDWORD pdwAudioBytes1,
                                   LPVOID* ppvAudioPtr2, LPDWORD pdwAudioBytes2, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE Play(DWORD dwReserved1, DWORD dwPriority, DWORD dwFlags) override;
    HRESULT STDMETHODCALLTYPE SetCurrentPosition(DWORD dwNewPosition) override;
    HRESULT STDMETHODCALLTYPE SetFormat(LPCWAVEFORMATEX pcfxFormat) override;
    HRESULT STDMETHODCALLTYPE SetVolume(LONG lVolume) override;
    HRESULT STDMETHODCALLTYPE SetFrequency(DWORD dwFrequency) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Unlock(LPVOID pvAudioPtr1, DWORD dwAudioBytes1, LPVOID pvAudioPtr2,
                                     DWORD dwAudioBytes2) override;
    HRESULT STDMETHODCALLTYPE Restore() override;

    // Behind the IDirectSound3DBuffer interface.
    HRESULT get3DMode(LPDWORD mode);
    HRESULT set3DMode(DWORD mode, DWORD apply);
    HRESULT set3DPosition(float x, float y, float z, DWORD apply);

    // Drops the voice of a one-shot that has played to its end, rewinding to 0.
    void refresh();
    // The device went away: the buffer stops and lets its data go; it stays an inert
    // object for whoever still holds a pointer to it.
    void detach();
    const SoundDevice* owner() const { return owner_; }
    bool holdsVoice() const { return voice_ != nullptr; }
    bool isDuplicable() const { return data_ && !(flags_ & DSBCAPS_CTRLFX); }

    audio::BufferState state();
    bool exposes(const IUnknown* object) const;

private:
    void registerLive();
    DWORD currentCursor();
    DWORD frequency() const;
    VoiceParams voiceParams() const;
    void applyToVoice();
    bool inData(const void* pointer, DWORD bytes) const;

    SoundDevice* owner_;
    DWORD flags_;
    std::shared_ptr<PcmData> data_;
    unsigned id_ = 0;
    LONG volume_ = DSBVOLUME_MAX;
    DWORD frequency_ = DSBFREQUENCY_ORIGINAL;
    DWORD mode3D_ = DS3DMODE_NORMAL;
    float position_[3] = {0.0f, 0.0f, 0.0f};
    DWORD cursor_ = 0;  // while stopped
    bool looping_ = false;
    unsigned playCalls_ = 0;
    std::unique_ptr<Voice> voice_;
    Sound3DBuffer threeD_ {*this};
};

}  // namespace velmora::dsound
