#include "Buffer.h"

#include <cstring>

namespace velmora::d3dx {

Buffer::Buffer(DWORD size) : size_(size) {
    const size_t blocks = (size + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t) + 1;
    storage_.reset(new std::max_align_t[blocks]);
    // memset, not value-initialisation: that may leave the padding inside max_align_t as is.
    std::memset(storage_.get(), 0, blocks * sizeof(std::max_align_t));
}

HRESULT STDMETHODCALLTYPE Buffer::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_POINTER;
    if (sameGuid(riid, IID_IUnknown)) {
        *ppvObject = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
}

LPVOID STDMETHODCALLTYPE Buffer::GetBufferPointer() { return storage_.get(); }

DWORD STDMETHODCALLTYPE Buffer::GetBufferSize() { return size_; }

}  // namespace velmora::d3dx

HRESULT WINAPI D3DXCreateBuffer(DWORD NumBytes, LPD3DXBUFFER* ppBuffer) {
    if (!ppBuffer) return D3DERR_INVALIDCALL;
    *ppBuffer = new velmora::d3dx::Buffer(NumBytes);
    return D3D_OK;
}
