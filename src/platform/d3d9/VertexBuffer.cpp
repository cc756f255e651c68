#include "VertexBuffer.h"

#include "ExactCast.h"

#include <new>

namespace velmora::d3d9 {

HRESULT VertexBuffer::create(IDirect3DDevice9* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                             IDirect3DVertexBuffer9** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (length == 0) return D3DERR_INVALIDCALL;
    try {
        *buffer = new VertexBuffer(device, BufferStorage(length), usage, fvf, pool);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT VertexBuffer::createSharing(IDirect3DDevice9* device, std::shared_ptr<BufferBytes> bytes, DWORD usage,
                                    DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (!bytes || bytes->bytes.empty()) return D3DERR_INVALIDCALL;
    *buffer = new (std::nothrow) VertexBuffer(device, BufferStorage(std::move(bytes)), usage, fvf, pool);
    return *buffer ? D3D_OK : E_OUTOFMEMORY;
}

HRESULT VertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    desc->Format = D3DFMT_VERTEXDATA;
    desc->Type = D3DRTYPE_VERTEXBUFFER;
    desc->Usage = usage_;
    desc->Pool = pool_;
    desc->Size = storage_.length();
    desc->FVF = fvf_;
    return D3D_OK;
}

VertexBuffer* asVertexBuffer(IDirect3DVertexBuffer9* buffer) { return exactCast<VertexBuffer>(buffer); }

}  // namespace velmora::d3d9
