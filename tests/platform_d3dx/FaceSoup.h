// Triangle soups for the picking tests, and the check that a search answers a ray exactly
// as the plain scan of every face does.
#pragma once

#include "PickGeometry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

struct Soup {
    std::vector<float> positions;  // three floats per vertex, packed
    std::vector<uint32_t> indices;

    void addTriangle(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c) {
        for (const D3DXVECTOR3* p : {&a, &b, &c}) {
            indices.push_back((uint32_t)positions.size() / 3);
            positions.insert(positions.end(), {p->x, p->y, p->z});
        }
    }
    // Two faces, a b c and a c d.
    void addQuad(const D3DXVECTOR3& a, const D3DXVECTOR3& b, const D3DXVECTOR3& c, const D3DXVECTOR3& d) {
        addTriangle(a, b, c);
        addTriangle(a, c, d);
    }
    D3DXVECTOR3 corner(size_t face, int which) const {
        const float* p = &positions[indices[face * 3 + which] * 3];
        return D3DXVECTOR3(p[0], p[1], p[2]);
    }
    size_t faceCount() const { return indices.size() / 3; }
    velmora::d3dx::PickGeometry build() const {
        return velmora::d3dx::PickGeometry(reinterpret_cast<const BYTE*>(positions.data()),
                                           (DWORD)positions.size() / 3, 3 * sizeof(float), indices.data(), true,
                                           (DWORD)indices.size() / 3);
    }
};

// An arena-like mesh: a bumpy floor grid, closed by walls, with boxes standing on it.
inline Soup arenaSoup(std::mt19937& random, int gridSize, int boxes) {
    Soup soup;
    std::uniform_real_distribution<float> bump(-0.3f, 0.3f);
    std::vector<float> height((gridSize + 1) * (gridSize + 1));
    for (float& h : height) h = bump(random);
    auto at = [&](int x, int z) {
        return D3DXVECTOR3(x - gridSize / 2.0f, height[z * (gridSize + 1) + x], z - gridSize / 2.0f);
    };
    for (int z = 0; z < gridSize; ++z)
        for (int x = 0; x < gridSize; ++x) {
            soup.addTriangle(at(x, z), at(x, z + 1), at(x + 1, z + 1));
            soup.addTriangle(at(x, z), at(x + 1, z + 1), at(x + 1, z));
        }
    const float half = gridSize / 2.0f;
    for (int side = 0; side < 4; ++side) {
        const float s = (side < 2) ? -half : half;
        const bool alongX = side % 2 == 0;
        auto corner = [&](float along, float y) {
            return alongX ? D3DXVECTOR3(along, y, s) : D3DXVECTOR3(s, y, along);
        };
        soup.addQuad(corner(-half, 0), corner(-half, 10), corner(half, 10), corner(half, 0));
    }
    std::uniform_real_distribution<float> place(-half + 2, half - 2), size(0.5f, 2.0f);
    for (int b = 0; b < boxes; ++b) {
        const D3DXVECTOR3 lo(place(random), 0, place(random));
        const D3DXVECTOR3 hi = lo + D3DXVECTOR3(size(random), size(random), size(random));
        const D3DXVECTOR3 c[8] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, hi.y, lo.z}, {lo.x, hi.y, lo.z},
                                  {lo.x, lo.y, hi.z}, {hi.x, lo.y, hi.z}, {hi.x, hi.y, hi.z}, {lo.x, hi.y, hi.z}};
        const int quads[6][4] = {{0, 1, 2, 3}, {5, 4, 7, 6}, {4, 0, 3, 7}, {1, 5, 6, 2}, {3, 2, 6, 7}, {4, 5, 1, 0}};
        for (const auto& q : quads) soup.addQuad(c[q[0]], c[q[1]], c[q[2]], c[q[3]]);
    }
    return soup;
}

inline bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Whether geometry.nearest() answers `ray` exactly as the scan does: the same hit or miss,
// and on a hit the same face, and U, V and distance bit for bit. Counts the scan's hits.
inline ::testing::AssertionResult answersLikeTheScan(const velmora::d3dx::PickGeometry& geometry,
                                                     const velmora::d3dx::Ray& ray, int& hits) {
    velmora::d3dx::RayHit scanned{}, searched{};
    const bool scanFound = geometry.scanNearest(ray, scanned);
    const bool searchFound = geometry.nearest(ray, searched);
    auto describe = [&]() {
        return ::testing::AssertionFailure() << "ray from (" << ray.origin[0] << ", " << ray.origin[1] << ", "
                                             << ray.origin[2] << ") along (" << ray.dir[0] << ", " << ray.dir[1]
                                             << ", " << ray.dir[2] << "): ";
    };
    if (searchFound != scanFound) return describe() << "search found " << searchFound << ", scan " << scanFound;
    if (!scanFound) return ::testing::AssertionSuccess();
    ++hits;
    if (searched.face != scanned.face || !sameBits(searched.u, scanned.u) || !sameBits(searched.v, scanned.v) ||
        !sameBits(searched.dist, scanned.dist))
        return describe() << "search gives face " << searched.face << " at " << searched.dist << " (" << searched.u
                          << ", " << searched.v << "), scan face " << scanned.face << " at " << scanned.dist << " ("
                          << scanned.u << ", " << scanned.v << ")";
    return ::testing::AssertionSuccess();
}
