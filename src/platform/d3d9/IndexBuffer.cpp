#include "IndexBuffer.h"

#include "ExactCast.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace velmora::d3d9 {

namespace {

bool indexFormat(D3DFORMAT format) { return format == D3DFMT_INDEX16 || format == D3DFMT_INDEX32; }

}  // namespace

HRESULT IndexBuffer::create(IDirect3DDevice9* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                            IDirect3DIndexBuffer9** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (length == 0 || !indexFormat(format)) return D3DERR_INVALIDCALL;
    try {
        *buffer = new IndexBuffer(device, BufferStorage(length), usage, format, pool);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return D3D_OK;
}

HRESULT IndexBuffer::createSharing(IDirect3DDevice9* device, std::shared_ptr<BufferBytes> bytes, DWORD usage,
                                   D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer) {
    if (!buffer) return D3DERR_INVALIDCALL;
    *buffer = nullptr;
    if (!bytes || bytes->bytes.empty() || !indexFormat(format)) return D3DERR_INVALIDCALL;
    *buffer = new (std::nothrow) IndexBuffer(device, BufferStorage(std::move(bytes)), usage, format, pool);
    return *buffer ? D3D_OK : E_OUTOFMEMORY;
}

HRESULT IndexBuffer::GetDesc(D3DINDEXBUFFER_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    desc->Format = format_;
    desc->Type = D3DRTYPE_INDEXBUFFER;
    desc->Usage = usage_;
    desc->Pool = pool_;
    desc->Size = storage_.length();
    return D3D_OK;
}

bool IndexBuffer::span(UINT first, UINT count, IndexSpan& out) const {
    const UINT size = indexSize();
    if (uint64_t(first) + count > storage_.length() / size) return false;
    const bool keep = !storage_.locked();
    BufferBytes& contents = storage_.contents();
    const IndexRun run{first, count, size};
    if (keep) {
        if (const IndexSpan* kept = contents.spans.find(run, contents.revision)) {
            out = *kept;
            return true;
        }
    }
    IndexSpan found{0xFFFFFFFFu, 0};
    const BYTE* bytes = contents.bytes.data();
    for (UINT i = first; i < first + count; ++i) {
        UINT index;
        if (size == 2) {
            WORD narrow;
            std::memcpy(&narrow, bytes + size_t(i) * 2, 2);
            index = narrow;
        } else {
            std::memcpy(&index, bytes + size_t(i) * 4, 4);
        }
        if (index < found.low) found.low = index;
        if (index > found.high) found.high = index;
    }
    if (keep) contents.spans.keep(run, contents.revision, found);
    out = found;
    return true;
}

IndexBuffer* asIndexBuffer(IDirect3DIndexBuffer9* buffer) { return exactCast<IndexBuffer>(buffer); }

}  // namespace velmora::d3d9
