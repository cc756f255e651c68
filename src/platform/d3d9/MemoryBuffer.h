// What vertex and index buffers share: the device that made them, their bytes in memory
// with the lock rules, their usage and pool. Like every resource of this device, they
// answer only for IUnknown.
#pragma once

#include "BufferStorage.h"
#include "ComObject.h"

#include <d3d9.h>

#include <utility>

namespace velmora::d3d9 {

template <class Interface>
class MemoryBuffer : public ComObject<Interface> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (sameGuid(riid, IID_IUnknown)) {
            this->AddRef();
            *object = static_cast<IUnknown*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override {
        if (!device) return D3DERR_INVALIDCALL;
        device_->AddRef();
        *device = device_;
        return D3D_OK;
    }

    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override {
        return storage_.lock(offset, size, data, flags);
    }
    HRESULT STDMETHODCALLTYPE Unlock() override { return storage_.unlock(); }

    BufferStorage& storage() { return storage_; }
    const BufferStorage& storage() const { return storage_; }

protected:
    MemoryBuffer(IDirect3DDevice9* device, BufferStorage storage, DWORD usage, D3DPOOL pool)
        : device_(device), usage_(usage), pool_(pool), storage_(std::move(storage)) {}

    IDirect3DDevice9* device_;
    DWORD usage_;
    D3DPOOL pool_;
    BufferStorage storage_;
};

}  // namespace velmora::d3d9
