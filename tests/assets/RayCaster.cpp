#include "RayCaster.h"

#include <cmath>

namespace assettest {

RayCaster::RayCaster(const LoadedMesh& mesh, const V3& scale) {
    for (const MeshTriangle& t : mesh.triangles) {
        std::array<V3, 3> scaled;
        for (int k = 0; k < 3; ++k)
            scaled[k] = {t.position[k].x * scale.x, t.position[k].y * scale.y, t.position[k].z * scale.z};
        triangles_.push_back(scaled);
    }
}

std::optional<double> RayCaster::cast(const V3& origin, const V3& direction) const {
    std::optional<double> best;
    for (const auto& t : triangles_) {
        // Moller-Trumbore, without culling either side.
        const V3 e1 = t[1] - t[0], e2 = t[2] - t[0];
        const V3 p = cross(direction, e2);
        const double det = dot(e1, p);
        if (std::fabs(det) < 1e-12) continue;
        const double inv = 1 / det;
        const V3 s = origin - t[0];
        const double u = dot(s, p) * inv;
        if (u < 0 || u > 1) continue;
        const V3 q = cross(s, e1);
        const double v = dot(direction, q) * inv;
        if (v < 0 || u + v > 1) continue;
        const double distance = dot(e2, q) * inv;
        if (distance >= 0 && (!best || distance < *best)) best = distance;
    }
    return best;
}

}  // namespace assettest
