// A vertex buffer kept in memory; D3DX meshes fill it and ray queries read it back.
#pragma once

#include "MemoryBuffer.h"

#include <d3d9.h>

namespace velmora::d3d9 {

class VertexBuffer final : public MemoryBuffer<IDirect3DVertexBuffer9> {
public:
    static HRESULT create(IDirect3DDevice9* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                          IDirect3DVertexBuffer9** buffer);
    // A buffer that reads `bytes` until it is locked.
    static HRESULT createSharing(IDirect3DDevice9* device, std::shared_ptr<BufferBytes> bytes, DWORD usage, DWORD fvf,
                                 D3DPOOL pool, IDirect3DVertexBuffer9** buffer);

    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_VERTEXBUFFER; }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC* desc) override;

private:
    VertexBuffer(IDirect3DDevice9* device, BufferStorage storage, DWORD usage, DWORD fvf, D3DPOOL pool)
        : MemoryBuffer(device, std::move(storage), usage, pool), fvf_(fvf) {}

    DWORD fvf_;
};

VertexBuffer* asVertexBuffer(IDirect3DVertexBuffer9* buffer);

}  // namespace velmora::d3d9
