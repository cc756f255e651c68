// The bytes of a vertex or index buffer with Direct3D 9's lock rules: a lock of size 0
// covers the whole buffer, a range past the end is refused, locks may nest.
#pragma once

#include "GpuCopy.h"

#include <d3d9.h>

#include <vector>

namespace velmora::d3d9 {

class BufferStorage {
public:
    explicit BufferStorage(UINT length) : bytes_(length) {}

    HRESULT lock(UINT offset, UINT size, void** data);
    HRESULT unlock();

    const std::vector<BYTE>& bytes() const { return bytes_; }
    UINT length() const { return static_cast<UINT>(bytes_.size()); }
    // While a lock is open the bytes may change under any answer kept about them.
    bool locked() const { return locks_ > 0; }
    // Bumped by every unlock: the GPU copy is stale when it saw an older revision.
    unsigned revision() const { return revision_; }
    GpuCopy& gpuCopy() { return gpu_; }

private:
    std::vector<BYTE> bytes_;
    unsigned locks_ = 0;
    unsigned revision_ = 1;
    GpuCopy gpu_;
};

}  // namespace velmora::d3d9
