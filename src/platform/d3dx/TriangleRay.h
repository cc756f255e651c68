// The ray-triangle test behind D3DXIntersect, shared by the plain scan and the BVH so
// that both give bit-identical answers.
//
// A ray meets a face when origin + t * dir = V0 + U (V1 - V0) + V (V2 - V0) with t >= 0,
// U >= 0, V >= 0, U + V <= 1; both windings count. t is measured in lengths of the given
// direction, which is not normalised. A ray that runs in (or within about 1e-7 radians
// of) the face's plane misses it, as does every ray against a face of zero area.
#pragma once

#include <d3dx9math.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

namespace velmora::d3dx {

struct Ray {
    Ray(const D3DXVECTOR3& from, const D3DXVECTOR3& direction)
        : origin{from.x, from.y, from.z}, dir{direction.x, direction.y, direction.z} {
        dirLength = std::sqrt(dir[0] * dir[0] + dir[1] * dir[1] + dir[2] * dir[2]);
    }
    double origin[3];
    double dir[3];
    double dirLength;
};

struct RayHit {
    DWORD face;
    float u, v;
    float dist;
};

// A face prepared for ray tests: corner 0, the two edges from it, and the length of
// their cross product (twice the area).
struct Triangle {
    double v0[3];
    double e1[3];
    double e2[3];
    double doubleArea;
    DWORD face;
};

inline Triangle makeTriangle(const float* p0, const float* p1, const float* p2, DWORD face) {
    Triangle tri;
    for (int i = 0; i < 3; ++i) {
        tri.v0[i] = p0[i];
        tri.e1[i] = (double)p1[i] - p0[i];
        tri.e2[i] = (double)p2[i] - p0[i];
    }
    const double nx = tri.e1[1] * tri.e2[2] - tri.e1[2] * tri.e2[1];
    const double ny = tri.e1[2] * tri.e2[0] - tri.e1[0] * tri.e2[2];
    const double nz = tri.e1[0] * tri.e2[1] - tri.e1[1] * tri.e2[0];
    // A face with a corner that is not a finite number gets a NaN area: it never hits.
    tri.doubleArea = std::sqrt(nx * nx + ny * ny + nz * nz);
    for (const float* corner : {p0, p1, p2})
        for (int i = 0; i < 3; ++i)
            if (!std::isfinite(corner[i])) tri.doubleArea = std::nan("");
    tri.face = face;
    return tri;
}

// A face the hit test can never accept (non-finite corners).
inline bool hittable(const Triangle& tri) { return std::isfinite(tri.doubleArea); }

inline void cornersOf(const Triangle& tri, double corners[3][3]) {
    for (int i = 0; i < 3; ++i) {
        corners[0][i] = tri.v0[i];
        corners[1][i] = tri.v0[i] + tri.e1[i];
        corners[2][i] = tri.v0[i] + tri.e2[i];
    }
}

// The margin by which the BVH grows a face's box: far above the rounding of
// the hit test, so that a point the test accepts always lies inside the grown box.
inline double boxPadding(const std::vector<Triangle>& faces) {
    double extent = 0.0;
    for (const Triangle& tri : faces) {
        if (!hittable(tri)) continue;
        double corners[3][3];
        cornersOf(tri, corners);
        for (auto& corner : corners)
            for (double coordinate : corner) extent = std::max(extent, std::fabs(coordinate));
    }
    return extent * 1e-5 + 1e-12;
}

// Sine of the smallest angle between a ray and a face's plane that still counts as a hit.
constexpr double kParallelLimit = 1e-7;

// Möller–Trumbore in double precision. Comparisons are written so that NaN inputs miss.
inline bool intersectTriangle(const Triangle& tri, const Ray& ray, RayHit& hit) {
    const double* d = ray.dir;
    const double p[3] = {d[1] * tri.e2[2] - d[2] * tri.e2[1], d[2] * tri.e2[0] - d[0] * tri.e2[2],
                         d[0] * tri.e2[1] - d[1] * tri.e2[0]};
    const double det = tri.e1[0] * p[0] + tri.e1[1] * p[1] + tri.e1[2] * p[2];
    // det = -dir . (e1 x e2): its size relative to both lengths is the sine of the angle
    // between the ray and the plane.
    if (!(std::fabs(det) > kParallelLimit * tri.doubleArea * ray.dirLength)) return false;
    const double inv = 1.0 / det;

    const double s[3] = {ray.origin[0] - tri.v0[0], ray.origin[1] - tri.v0[1], ray.origin[2] - tri.v0[2]};
    const double u = (s[0] * p[0] + s[1] * p[1] + s[2] * p[2]) * inv;
    if (!(u >= 0.0 && u <= 1.0)) return false;

    const double q[3] = {s[1] * tri.e1[2] - s[2] * tri.e1[1], s[2] * tri.e1[0] - s[0] * tri.e1[2],
                         s[0] * tri.e1[1] - s[1] * tri.e1[0]};
    const double v = (d[0] * q[0] + d[1] * q[1] + d[2] * q[2]) * inv;
    if (!(v >= 0.0 && u + v <= 1.0)) return false;

    const double t = (tri.e2[0] * q[0] + tri.e2[1] * q[1] + tri.e2[2] * q[2]) * inv;
    if (!(t >= 0.0)) return false;

    hit.face = tri.face;
    hit.u = (float)u;
    hit.v = (float)v;
    hit.dist = (float)t;
    return true;
}

// The nearest-hit order: smaller reported distance first, the lower face index on a tie.
inline bool closerThan(const RayHit& a, const RayHit& b) {
    return a.dist < b.dist || (a.dist == b.dist && a.face < b.face);
}

}  // namespace velmora::d3dx
