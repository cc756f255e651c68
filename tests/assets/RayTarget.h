// Ray queries against a loaded mesh placed in the world, made as the game makes them: the
// ray is taken into mesh space with the inverse world matrix and handed to D3DXIntersect.
// With a unit world direction, distances come out in world units.
#pragma once

#include <d3dx9.h>

#include <optional>

namespace assettest {

class RayTarget {
public:
    RayTarget(ID3DXMesh* mesh, const D3DXMATRIX& world);

    // Distance to the nearest face along the ray, either side of the face.
    std::optional<float> nearest(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction) const;
    // Faces the ray passes through: odd from inside a closed shape, even from outside.
    DWORD crossings(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction) const;

private:
    void toMeshSpace(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, D3DXVECTOR3& meshOrigin,
                     D3DXVECTOR3& meshDirection) const;

    ID3DXMesh* mesh_;
    D3DXMATRIX inverseWorld_;
};

// The world matrix of a rope anchor: RotationZ(roll) x RotationY(yaw) x Scaling(25, 30, 25)
// x Translation(position), angles in degrees.
D3DXMATRIX ropeWorld(const D3DXVECTOR3& position, float rollDegrees, float yawDegrees);
// The arena's: Scaling(25, 30, 25).
D3DXMATRIX arenaWorld();

}  // namespace assettest
