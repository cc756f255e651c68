#include "PickGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmora::d3dx {

PickGeometry::PickGeometry(const BYTE* vertices, DWORD vertexCount, DWORD stride, const void* indices,
                           bool index32, DWORD faceCount)
    : bvh_(trianglesOf(vertices, vertexCount, stride, indices, index32, faceCount)) {}

std::vector<Triangle> PickGeometry::trianglesOf(const BYTE* vertices, DWORD vertexCount, DWORD stride,
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

}  // namespace velmora::d3dx
