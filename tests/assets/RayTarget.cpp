#include "RayTarget.h"

namespace assettest {

RayTarget::RayTarget(ID3DXMesh* mesh, const D3DXMATRIX& world) : mesh_(mesh) {
    D3DXMatrixInverse(&inverseWorld_, nullptr, &world);
}

void RayTarget::toMeshSpace(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction, D3DXVECTOR3& meshOrigin,
                            D3DXVECTOR3& meshDirection) const {
    D3DXVec3TransformCoord(&meshOrigin, &origin, &inverseWorld_);
    D3DXVec3TransformNormal(&meshDirection, &direction, &inverseWorld_);
}

std::optional<float> RayTarget::nearest(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction) const {
    D3DXVECTOR3 meshOrigin, meshDirection;
    toMeshSpace(origin, direction, meshOrigin, meshDirection);
    BOOL hit = FALSE;
    DWORD face = 0;
    float u = 0, v = 0, distance = 0;
    D3DXIntersect(mesh_, &meshOrigin, &meshDirection, &hit, &face, &u, &v, &distance, nullptr, nullptr);
    if (!hit) return std::nullopt;
    return distance;
}

DWORD RayTarget::crossings(const D3DXVECTOR3& origin, const D3DXVECTOR3& direction) const {
    D3DXVECTOR3 meshOrigin, meshDirection;
    toMeshSpace(origin, direction, meshOrigin, meshDirection);
    BOOL hit = FALSE;
    ID3DXBuffer* allHits = nullptr;
    DWORD count = 0;
    D3DXIntersect(mesh_, &meshOrigin, &meshDirection, &hit, nullptr, nullptr, nullptr, nullptr, &allHits, &count);
    if (allHits) allHits->Release();
    return count;
}

D3DXMATRIX ropeWorld(const D3DXVECTOR3& position, float rollDegrees, float yawDegrees) {
    D3DXMATRIX roll, yaw, scale, move;
    D3DXMatrixRotationZ(&roll, rollDegrees * 0.017453292f);
    D3DXMatrixRotationY(&yaw, yawDegrees * 0.017453292f);
    D3DXMatrixScaling(&scale, 25, 30, 25);
    D3DXMatrixTranslation(&move, position.x, position.y, position.z);
    return roll * yaw * scale * move;
}

D3DXMATRIX arenaWorld() {
    D3DXMATRIX scale;
    D3DXMatrixScaling(&scale, 25, 30, 25);
    return scale;
}

}  // namespace assettest
