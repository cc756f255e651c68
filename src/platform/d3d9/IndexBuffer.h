// An index buffer of 16- or 32-bit indices kept in memory.
#pragma once

#include "MemoryBuffer.h"

#include <d3d9.h>

namespace velmora::d3d9 {

class IndexBuffer final : public MemoryBuffer<IDirect3DIndexBuffer9> {
public:
    static HRESULT create(IDirect3DDevice9* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DIndexBuffer9** buffer);
    // A buffer that reads `bytes` until it is locked.
    static HRESULT createSharing(IDirect3DDevice9* device, std::shared_ptr<BufferBytes> bytes, DWORD usage,
                                 D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer);

    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT STDMETHODCALLTYPE GetDesc(D3DINDEXBUFFER_DESC* desc) override;

    D3DFORMAT format() const { return format_; }
    UINT indexSize() const { return format_ == D3DFMT_INDEX32 ? 4 : 2; }
    // The span of the `count` indices from `first`; false when they pass the buffer's end.
    // Spans are kept with the bytes, so that a draw need not read every index to check it.
    bool span(UINT first, UINT count, IndexSpan& out) const;

private:
    IndexBuffer(IDirect3DDevice9* device, BufferStorage storage, DWORD usage, D3DFORMAT format, D3DPOOL pool)
        : MemoryBuffer(device, std::move(storage), usage, pool), format_(format) {}

    D3DFORMAT format_;
};

IndexBuffer* asIndexBuffer(IDirect3DIndexBuffer9* buffer);

}  // namespace velmora::d3d9
