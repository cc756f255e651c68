// A large random sample of rays against the arena mesh, in the mesh's own space as the
// game's queries reach it (world rays through the inverse of the arena's world matrix),
// and the arena's faces as the picking code sees them.
#pragma once

#include <d3dx9.h>

#include <memory>
#include <vector>

#include "d3dx/PickGeometry.h"

namespace bench {

struct SampleRay {
    D3DXVECTOR3 origin;
    D3DXVECTOR3 dir;
};

class RaySample {
public:
    // Reads the faces of `mesh` placed by `world` and draws `count` rays from a fixed seed:
    // a mix of straight down (ground and shadow), level along the axes (walls), random
    // directions of random length, and rays aimed at a corner of a random face (edge and
    // corner ties). Then `hallCount` rays as flying dragonflies cast them: from random
    // points in the hall's air, straight down for the shadow, then along +z, +x, +y, -x
    // and -z for the walls, in turn.
    RaySample(ID3DXMesh* mesh, const D3DXMATRIX& world, std::size_t count, std::size_t hallCount);

    const std::vector<SampleRay>& rays() const { return rays_; }
    const std::vector<SampleRay>& hallRays() const { return hallRays_; }
    const velmora::d3dx::PickGeometry& geometry() const { return *geometry_; }

private:
    std::vector<SampleRay> rays_;
    std::vector<SampleRay> hallRays_;
    std::unique_ptr<velmora::d3dx::PickGeometry> geometry_;
};

}  // namespace bench
