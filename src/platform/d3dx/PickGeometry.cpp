#include "PickGeometry.h"

#include <cmath>
#include <cstring>

namespace velmora::d3dx {

PickGeometry::PickGeometry(const BYTE* vertices, DWORD vertexCount, DWORD stride, const void* indices,
                           bool index32, DWORD faceCount)
    : faces_(collectFaces(vertices, vertexCount, stride, indices, index32, faceCount)),
      bvh_(faces_),
      axisGrids_(makeAxisGrids(faces_)) {}

std::array<AxisFaceGrid, 3> PickGeometry::makeAxisGrids(const std::vector<Triangle>& faces) {
    const double padding = boxPadding(faces);
    return {AxisFaceGrid(faces, 0, padding), AxisFaceGrid(faces, 1, padding), AxisFaceGrid(faces, 2, padding)};
}

std::vector<Triangle> PickGeometry::collectFaces(const BYTE* vertices, DWORD vertexCount, DWORD stride,
                                                 const void* indices, bool index32, DWORD faceCount) {
    static const float kMissing[3] = {NAN, NAN, NAN};
    std::vector<Triangle> faces;
    faces.reserve(faceCount);
    for (DWORD f = 0; f < faceCount; ++f) {
        float corners[3][3];
        for (int c = 0; c < 3; ++c) {
            const DWORD index = index32 ? static_cast<const uint32_t*>(indices)[f * 3 + c]
                                        : static_cast<const uint16_t*>(indices)[f * 3 + c];
            if (index < vertexCount)
                std::memcpy(corners[c], vertices + (size_t)index * stride, sizeof corners[c]);
            else
                std::memcpy(corners[c], kMissing, sizeof corners[c]);
        }
        faces.push_back(makeTriangle(corners[0], corners[1], corners[2], f));
    }
    return faces;
}

bool PickGeometry::scanNearest(const Ray& ray, RayHit& hit) const {
    bool found = false;
    RayHit best{};
    for (const Triangle& tri : faces_) {
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
    for (const Triangle& tri : faces_) {
        RayHit candidate;
        if (intersectTriangle(tri, ray, candidate)) hits.push_back(candidate);
    }
}

}  // namespace velmora::d3dx
