// The IDirectSound3DBuffer interface of a secondary buffer. It is part of the buffer
// object: it shares the buffer's reference count and identity.
#pragma once

#include <dsound.h>

namespace velmora::dsound {

class SecondaryBuffer;

class Sound3DBuffer : public IDirectSound3DBuffer {
public:
    explicit Sound3DBuffer(SecondaryBuffer& owner) : owner_(owner) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetMode(LPDWORD pdwMode) override;
    HRESULT STDMETHODCALLTYPE SetMode(DWORD dwMode, DWORD dwApply) override;
    HRESULT STDMETHODCALLTYPE SetPosition(D3DVALUE x, D3DVALUE y, D3DVALUE z, DWORD dwApply) override;

private:
    SecondaryBuffer& owner_;
};

}  // namespace velmora::dsound
