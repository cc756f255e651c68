// The CPU copy of a mesh's faces that D3DXIntersect searches: every face in index-buffer
// order, a BVH over them, and a grid across each axis for the rays that run along one.
// Immutable once built, so loads of the same file share it.
#pragma once

#include "AxisFaceGrid.h"
#include "FaceBvh.h"
#include "TriangleRay.h"

#include <array>
#include <vector>

namespace velmora::d3dx {

class PickGeometry {
public:
    // Positions are the first three floats of each vertex, `stride` bytes apart. A face
    // with an index past the vertices never hits.
    PickGeometry(const BYTE* vertices, DWORD vertexCount, DWORD stride, const void* indices, bool index32,
                 DWORD faceCount);

    bool nearest(const Ray& ray, RayHit& hit) const {
        const int axis = AxisFaceGrid::axisOf(ray);
        return axis >= 0 ? axisGrids_[axis].nearest(faces_, ray, hit) : bvh_.nearest(ray, hit);
    }
    void all(const Ray& ray, std::vector<RayHit>& hits) const { bvh_.all(ray, hits); }

    // The same answers by testing every face in turn: the reference the searches must match.
    bool scanNearest(const Ray& ray, RayHit& hit) const;
    void scanAll(const Ray& ray, std::vector<RayHit>& hits) const;

    DWORD faceCount() const { return (DWORD)faces_.size(); }
    // The searches behind nearest(), for measuring them apart.
    const FaceBvh& bvh() const { return bvh_; }
    const AxisFaceGrid& axisGrid(int axis) const { return axisGrids_[axis]; }

private:
    static std::vector<Triangle> collectFaces(const BYTE* vertices, DWORD vertexCount, DWORD stride,
                                              const void* indices, bool index32, DWORD faceCount);
    static std::array<AxisFaceGrid, 3> makeAxisGrids(const std::vector<Triangle>& faces);

    std::vector<Triangle> faces_;
    FaceBvh bvh_;
    std::array<AxisFaceGrid, 3> axisGrids_;
};

}  // namespace velmora::d3dx
