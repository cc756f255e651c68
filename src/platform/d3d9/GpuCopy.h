// The renderer's copy of a resource (a GL texture or buffer), made on first use and
// refreshed when the CPU data changed. Resources keep their data on the CPU; the headless
// backend never creates a GPU copy.
#pragma once

#include <memory>

namespace velmora::d3d9 {

class GpuObject {
public:
    virtual ~GpuObject() = default;
};

struct GpuCopy {
    std::unique_ptr<GpuObject> object;
    unsigned uploadedRevision = 0;
};

}  // namespace velmora::d3d9
