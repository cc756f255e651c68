// The CPU copy of a mesh's faces that D3DXIntersect searches: a BVH over every face, and a
// grid across each axis for the rays that run along one, made on the first such ray (most
// meshes never get one). Loads of the same file share it, from any thread.
#pragma once

#include "AxisFaceGrid.h"
#include "FaceBvh.h"
#include "TriangleRay.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
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
        return axis >= 0 ? axisGrid(axis).nearest(ray, hit) : bvh_.nearest(ray, hit);
    }
    void all(const Ray& ray, std::vector<RayHit>& hits) const { bvh_.all(ray, hits); }

    // The same answers by testing every face in turn: the reference the searches must match.
    bool scanNearest(const Ray& ray, RayHit& hit) const;
    void scanAll(const Ray& ray, std::vector<RayHit>& hits) const;

    DWORD faceCount() const { return (DWORD)corners_.size(); }
    // Bytes held, with the grids made so far.
    size_t memoryBytes() const;

    // The searches behind nearest(), for measuring them apart.
    const FaceBvh& bvh() const { return bvh_; }
    const AxisFaceGrid& axisGrid(int axis) const {
        const AxisFaceGrid* grid = published_[axis].load(std::memory_order_acquire);
        return grid ? *grid : makeAxisGrid(axis);
    }

private:
    static std::vector<FaceCorners> collectCorners(const BYTE* vertices, DWORD vertexCount, DWORD stride,
                                                   const void* indices, bool index32, DWORD faceCount);
    static std::vector<Triangle> trianglesOf(const std::vector<FaceCorners>& corners);
    const AxisFaceGrid& makeAxisGrid(int axis) const;

    std::vector<FaceCorners> corners_;  // by face, for the grids
    FaceBvh bvh_;
    double padding_;
    mutable std::mutex gridsMade_;
    mutable std::array<std::unique_ptr<const AxisFaceGrid>, 3> grids_;
    mutable std::array<std::atomic<const AxisFaceGrid*>, 3> published_{};  // grids_ once made
};

}  // namespace velmora::d3dx
