// The bytes of a vertex or index buffer with Direct3D 9's lock rules: a lock of size 0
// covers the whole buffer, a range past the end is refused, locks may nest. D3DX hands
// every mesh it loads from one file the same bytes (BufferBytes); a buffer that is locked
// for writing takes a copy of its own first. Only a writing lock makes the bytes a new
// revision: the ray code reads the arena through read-only locks, and the GPU copy stays.
#pragma once

#include "GpuCopy.h"
#include "RecentRuns.h"

#include <d3d9.h>

#include <memory>
#include <vector>

namespace velmora::d3d9 {

// The smallest and the largest index of a run of indices.
struct IndexSpan {
    UINT low;
    UINT high;
};

struct IndexRun {
    UINT first, count, indexSize;
    bool operator==(const IndexRun& other) const {
        return first == other.first && count == other.count && indexSize == other.indexSize;
    }
};

// Bytes that several buffers may read, with their copy on the GPU.
struct BufferBytes {
    explicit BufferBytes(std::vector<BYTE> contents);

    std::vector<BYTE> bytes;
    // Changes with every write, and differs between any two BufferBytes: the GPU copy, and
    // whatever else was worked out from the bytes, is stale when it saw another revision.
    unsigned revision;
    GpuCopy gpu;
    // The last few answers worked out from the bytes, kept here rather than in each buffer
    // so that every mesh loaded from one file finds them (and they stay in the cache).
    RecentRuns<IndexRun, IndexSpan> spans;
};

class BufferStorage {
public:
    explicit BufferStorage(UINT length) : shared_(std::make_shared<BufferBytes>(std::vector<BYTE>(length))) {}
    // Reads `bytes` from the start, without bytes of its own.
    explicit BufferStorage(std::shared_ptr<BufferBytes> bytes) : shared_(std::move(bytes)) {}

    // `flags` as Lock takes them; only D3DLOCK_READONLY matters here.
    HRESULT lock(UINT offset, UINT size, void** data, DWORD flags);
    HRESULT unlock();

    const std::vector<BYTE>& bytes() const { return shared_->bytes; }
    UINT length() const { return static_cast<UINT>(shared_->bytes.size()); }
    // While a lock is open the bytes may change under any answer kept about them.
    bool locked() const { return locks_ > 0; }
    unsigned revision() const { return shared_->revision; }
    GpuCopy& gpuCopy() { return shared_->gpu; }
    BufferBytes& contents() const { return *shared_; }

private:
    std::shared_ptr<BufferBytes> shared_;
    unsigned locks_ = 0;
    // A lock that may write is open (or was, in this nest of locks).
    bool writing_ = false;
};

}  // namespace velmora::d3d9
