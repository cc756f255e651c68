// Ray queries against a triangle soup, double-sided like D3DXIntersect: the nearest hit
// at a positive distance along the ray, in units of the direction's length.
#pragma once

#include "LoadedMesh.h"

#include <optional>
#include <vector>

namespace assettest {

class RayCaster {
public:
    // Positions are scaled per axis, as a world matrix Scaling(sx, sy, sz) would.
    RayCaster(const LoadedMesh& mesh, const V3& scale);

    std::optional<double> cast(const V3& origin, const V3& direction) const;

private:
    std::vector<std::array<V3, 3>> triangles_;
};

}  // namespace assettest
