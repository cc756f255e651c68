// A vertex buffer kept in memory; D3DX meshes fill it and ray queries read it back.
#pragma once

#include "BufferStorage.h"
#include "ComObject.h"

#include <d3d9.h>

namespace velmora::d3d9 {

class VertexBuffer final : public ComObject<IDirect3DVertexBuffer9> {
public:
    static HRESULT create(IDirect3DDevice9* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                          IDirect3DVertexBuffer9** buffer);
    // A buffer that reads `bytes` until it is locked.
    static HRESULT createSharing(IDirect3DDevice9* device, std::shared_ptr<BufferBytes> bytes, DWORD usage, DWORD fvf,
                                 D3DPOOL pool, IDirect3DVertexBuffer9** buffer);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

    BufferStorage& storage() { return storage_; }
    const BufferStorage& storage() const { return storage_; }

private:
    VertexBuffer(IDirect3DDevice9* device, BufferStorage storage, DWORD usage, DWORD fvf, D3DPOOL pool)
        : device_(device), usage_(usage), fvf_(fvf), pool_(pool), storage_(std::move(storage)) {}

    IDirect3DDevice9* device_;
    DWORD usage_;
    DWORD fvf_;
    D3DPOOL pool_;
    BufferStorage storage_;
};

VertexBuffer* asVertexBuffer(IDirect3DVertexBuffer9* buffer);

}  // namespace velmora::d3d9
