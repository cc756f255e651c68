// An index buffer of 16- or 32-bit indices kept in memory.
#pragma once

#include "BufferStorage.h"
#include "ComObject.h"
#include "RecentRuns.h"

#include <d3d9.h>


namespace velmora::d3d9 {

// The smallest and the largest index of a run of indices.
struct IndexSpan {
    UINT low;
    UINT high;
};

class IndexBuffer final : public ComObject<IDirect3DIndexBuffer9> {
public:
    static HRESULT create(IDirect3DDevice9* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                          IDirect3DIndexBuffer9** buffer);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_INDEXBUFFER; }
    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DINDEXBUFFER_DESC* desc) override;

    BufferStorage& storage() { return storage_; }
    const BufferStorage& storage() const { return storage_; }
    D3DFORMAT format() const { return format_; }
    UINT indexSize() const { return format_ == D3DFMT_INDEX32 ? 4 : 2; }
    // The span of the `count` indices from `first`; false when they pass the buffer's end.
    bool span(UINT first, UINT count, IndexSpan& out) const;

private:
    IndexBuffer(IDirect3DDevice9* device, UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool)
        : device_(device), usage_(usage), format_(format), pool_(pool), storage_(length) {}

    IDirect3DDevice9* device_;
    DWORD usage_;
    D3DFORMAT format_;
    D3DPOOL pool_;
    BufferStorage storage_;

    // The last few spans, so that a draw need not read every index to check it.
    struct IndexRun {
        UINT first, count;
        bool operator==(const IndexRun& other) const { return first == other.first && count == other.count; }
    };
    mutable RecentRuns<IndexRun, IndexSpan> kept_;
};

IndexBuffer* asIndexBuffer(IDirect3DIndexBuffer9* buffer);

}  // namespace velmora::d3d9
