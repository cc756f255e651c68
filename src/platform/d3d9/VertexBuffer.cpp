#include "VertexBuffer.h"

#include "ExactCast.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
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

HRESULT VertexBuffer::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (sameGuid(riid, IID_IUnknown)) {
        AddRef();
        *object = static_cast<IUnknown*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT VertexBuffer::GetDevice(IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    device_->AddRef();
    *device = device_;
    return D3D_OK;
}

HRESULT VertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD) { return storage_.lock(offset, size, data); }

HRESULT VertexBuffer::Unlock() { return storage_.unlock(); }

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

PositionBounds boundsOfPositions(const BYTE* bytes, size_t offset, UINT stride, UINT count) {
    PositionBounds box{{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
    for (UINT i = 0; i < count; ++i) {
        float position[3];
        std::memcpy(position, bytes + offset + size_t(i) * stride, sizeof position);
        for (int axis = 0; axis < 3; ++axis) {
            box.low[axis] = std::min(box.low[axis], position[axis]);
            box.high[axis] = std::max(box.high[axis], position[axis]);
        }
    }
    return box;
}

bool VertexBuffer::positionBounds(UINT offset, UINT stride, UINT count, PositionBounds& out) const {
    if (count == 0) return false;
    if (uint64_t(offset) + uint64_t(count - 1) * stride + 3 * sizeof(float) > storage_.length()) return false;
    const bool keep = !storage_.locked();
    BufferBytes& contents = storage_.contents();
    const VertexRun run{offset, stride, count};
    if (keep) {
        if (const PositionBounds* kept = contents.boxes.find(run, contents.revision)) {
            out = *kept;
            return true;
        }
    }
    out = boundsOfPositions(contents.bytes.data(), offset, stride, count);
    if (keep) contents.boxes.keep(run, contents.revision, out);
    return true;
}

VertexBuffer* asVertexBuffer(IDirect3DVertexBuffer9* buffer) { return exactCast<VertexBuffer>(buffer); }

}  // namespace velmora::d3d9
