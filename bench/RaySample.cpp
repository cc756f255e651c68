#include "RaySample.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>

namespace bench {

namespace {

D3DXVECTOR3 cornerOf(const BYTE* vertices, DWORD stride, DWORD index) {
    D3DXVECTOR3 corner;
    std::memcpy(&corner, vertices + static_cast<std::size_t>(index) * stride, sizeof corner);
    return corner;
}

}  // namespace

RaySample::RaySample(ID3DXMesh* mesh, const D3DXMATRIX& world, std::size_t count, std::size_t hallCount) {
    const DWORD vertexCount = mesh->GetNumVertices();
    const DWORD faceCount = mesh->GetNumFaces();
    const DWORD stride = mesh->GetNumBytesPerVertex();
    const bool index32 = (mesh->GetOptions() & D3DXMESH_32BIT) != 0;
    void* vertexData = nullptr;
    void* indexData = nullptr;
    mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertexData);
    mesh->LockIndexBuffer(D3DLOCK_READONLY, &indexData);
    const BYTE* vertices = static_cast<const BYTE*>(vertexData);
    geometry_ = std::make_unique<velmora::d3dx::PickGeometry>(vertices, vertexCount, stride, indexData, index32,
                                                              faceCount);

    // The world box of the arena, a little larger, for the ray origins.
    D3DXVECTOR3 low(1e30f, 1e30f, 1e30f), high(-1e30f, -1e30f, -1e30f);
    for (DWORD i = 0; i < vertexCount; ++i) {
        D3DXVECTOR3 at;
        const D3DXVECTOR3 corner = cornerOf(vertices, stride, i);
        D3DXVec3TransformCoord(&at, &corner, &world);
        low = D3DXVECTOR3(std::min(low.x, at.x), std::min(low.y, at.y), std::min(low.z, at.z));
        high = D3DXVECTOR3(std::max(high.x, at.x), std::max(high.y, at.y), std::max(high.z, at.z));
    }
    const D3DXVECTOR3 margin = (high - low) * 0.05f;
    low -= margin;
    high += margin;

    D3DXMATRIX inverse;
    D3DXMatrixInverse(&inverse, nullptr, &world);
    std::mt19937 random(20240917u);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::normal_distribution<float> normal(0.0f, 1.0f);
    const D3DXVECTOR3 levels[4] = {D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(-1, 0, 0), D3DXVECTOR3(0, 0, 1),
                                   D3DXVECTOR3(0, 0, -1)};

    rays_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        D3DXVECTOR3 from(low.x + unit(random) * (high.x - low.x), low.y + unit(random) * (high.y - low.y),
                         low.z + unit(random) * (high.z - low.z));
        D3DXVECTOR3 dir;
        switch (i % 4) {
            case 0:
                dir = D3DXVECTOR3(0.0f, -1.0f, 0.0f);
                break;
            case 1:
                dir = levels[random() % 4];
                break;
            case 2:
                dir = D3DXVECTOR3(normal(random), normal(random), normal(random)) * (0.1f + 4.0f * unit(random));
                break;
            default: {
                const DWORD face = random() % faceCount;
                const DWORD corner = random() % 3;
                const DWORD index = index32 ? static_cast<const uint32_t*>(indexData)[face * 3 + corner]
                                            : static_cast<const uint16_t*>(indexData)[face * 3 + corner];
                D3DXVECTOR3 target;
                const D3DXVECTOR3 local = cornerOf(vertices, stride, index);
                D3DXVec3TransformCoord(&target, &local, &world);
                dir = target - from;
                break;
            }
        }
        SampleRay ray;
        D3DXVec3TransformCoord(&ray.origin, &from, &inverse);
        D3DXVec3TransformNormal(&ray.dir, &dir, &inverse);
        rays_.push_back(ray);
    }

    // Where dragonflies fly in the hall (world units), and the rays each casts a frame.
    const D3DXVECTOR3 hallLow(-36.0f, 1.0f, -31.0f), hallHigh(36.0f, 12.0f, 31.0f);
    const D3DXVECTOR3 casts[6] = {D3DXVECTOR3(0, -1, 0), D3DXVECTOR3(0, 0, 1),  D3DXVECTOR3(1, 0, 0),
                                  D3DXVECTOR3(0, 1, 0),  D3DXVECTOR3(-1, 0, 0), D3DXVECTOR3(0, 0, -1)};
    hallRays_.reserve(hallCount);
    D3DXVECTOR3 from;
    for (std::size_t i = 0; i < hallCount; ++i) {
        if (i % 6 == 0)
            from = D3DXVECTOR3(hallLow.x + unit(random) * (hallHigh.x - hallLow.x),
                               hallLow.y + unit(random) * (hallHigh.y - hallLow.y),
                               hallLow.z + unit(random) * (hallHigh.z - hallLow.z));
        SampleRay ray;
        D3DXVec3TransformCoord(&ray.origin, &from, &inverse);
        D3DXVec3TransformNormal(&ray.dir, &casts[i % 6], &inverse);
        hallRays_.push_back(ray);
    }
    mesh->UnlockIndexBuffer();
    mesh->UnlockVertexBuffer();
}

}  // namespace bench
