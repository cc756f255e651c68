// The CPU copy of a mesh's faces that D3DXIntersect searches, with a BVH over them made
// with it. Loads of the same file share it.
#pragma once

#include "FaceBvh.h"
#include "TriangleRay.h"

#include <vector>

namespace velmora::d3dx {

class PickGeometry {
public:
    // Positions are the first three floats of each vertex, `stride` bytes apart. A face
    // with an index past the vertices never hits.
    PickGeometry(const BYTE* vertices, DWORD vertexCount, DWORD stride, const void* indices, bool index32,
                 DWORD faceCount);

    bool nearest(const Ray& ray, RayHit& hit) const { return bvh_.nearest(ray, hit); }
    void all(const Ray& ray, std::vector<RayHit>& hits) const { bvh_.all(ray, hits); }

    // The same answers by testing every face in turn: the reference the BVH must match.
    bool scanNearest(const Ray& ray, RayHit& hit) const;
    void scanAll(const Ray& ray, std::vector<RayHit>& hits) const;

    DWORD faceCount() const { return (DWORD)bvh_.faces().size(); }

private:
    static std::vector<Triangle> trianglesOf(const BYTE* vertices, DWORD vertexCount, DWORD stride,
                                             const void* indices, bool index32, DWORD faceCount);

    FaceBvh bvh_;
};

}  // namespace velmora::d3dx
