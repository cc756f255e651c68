#include "PickGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmora::d3dx {

PickGeometry::PickGeometry(const BYTE* vertices, DWORD vertexCount, DWORD stride, const void* indices,
                           bool index32, DWORD faceCount)
    : corners_(collectCorners(vertices, vertexCount, stride, indices, index32, faceCount)),
      bvh_(trianglesOf(corners_)),
      padding_(boxPadding(bvh_.faces())) {}

std::vector<FaceCorners> PickGeometry::collectCorners(const BYTE* vertices, DWORD vertexCount, DWORD stride,
                                                      const void* indices, bool index32, DWORD faceCount) {
    static const float kMissing[3] = {NAN, NAN, NAN};
    std::vector<FaceCorners> faces(faceCount);
    for (DWORD f = 0; f < faceCount; ++f)
        for (int c = 0; c < 3; ++c) {
            const DWORD index = index32 ? static_cast<const uint32_t*>(indices)[f * 3 + c]
                                        : static_cast<const uint16_t*>(indices)[f * 3 + c];
            if (index < vertexCount)
                std::memcpy(faces[f].corner[c], vertices + (size_t)index * stride, sizeof faces[f].corner[c]);
            else
                std::memcpy(faces[f].corner[c], kMissing, sizeof faces[f].corner[c]);
        }
    return faces;
}

std::vector<Triangle> PickGeometry::trianglesOf(const std::vector<FaceCorners>& corners) {
    std::vector<Triangle> faces;
    faces.reserve(corners.size());
    for (const FaceCorners& face : corners)
        faces.push_back(makeTriangle(face.corner[0], face.corner[1], face.corner[2], (DWORD)faces.size()));
    return faces;
}

const AxisFaceGrid& PickGeometry::makeAxisGrid(int axis) const {
    std::lock_guard<std::mutex> lock(gridsMade_);
    if (!grids_[axis]) {
        grids_[axis] = std::make_unique<const AxisFaceGrid>(corners_, axis, padding_);
        published_[axis].store(grids_[axis].get(), std::memory_order_release);
    }
    return *grids_[axis];
}

// The BVH keeps the faces in its own order: the nearest hit does not depend on the order
// (closerThan() orders any two hits of different faces), and every hit is sorted by face.
bool PickGeometry::scanNearest(const Ray& ray, RayHit& hit) const {
    bool found = false;
    RayHit best{};
    for (const Triangle& tri : bvh_.faces()) {
        RayHit candidate;
        if (intersectTriangle(tri, ray, candidate) && (!found || closerThan(candidate, best))) {
            best = candidate;
            found = true;
        }
    }
    if (found) hit = best;
    return found;
}

void PickGeometry::scanAll(const Ray& ray, std::vector<RayHit>& hits) const {
    hits.clear();
    for (const Triangle& tri : bvh_.faces()) {
        RayHit candidate;
        if (intersectTriangle(tri, ray, candidate)) hits.push_back(candidate);
    }
    std::sort(hits.begin(), hits.end(), [](const RayHit& a, const RayHit& b) { return a.face < b.face; });
}

size_t PickGeometry::memoryBytes() const {
    size_t bytes = sizeof(*this) - sizeof(bvh_) + bvh_.memoryBytes() + corners_.capacity() * sizeof(FaceCorners);
    for (const auto& grid : published_)
        if (const AxisFaceGrid* made = grid.load(std::memory_order_acquire)) bytes += made->memoryBytes();
    return bytes;
}

}  // namespace velmora::d3dx
