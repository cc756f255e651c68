#include "MeshFile.h"

#include "TestData.h"
#include "TestDevice.h"

#include <algorithm>
#include <cmath>

namespace assettest {
namespace {

// The vertex layout D3DX gives a loaded mesh: position, normal, one texture coordinate.
struct PackedVertex {
    float position[3];
    float normal[3];
    float uv[2];
};
static_assert(sizeof(PackedVertex) == 32, "the loader's vertex is 32 bytes");

}  // namespace

D3DXVECTOR3 MeshTriangle::windingNormal() const {
    D3DXVECTOR3 out;
    const D3DXVECTOR3 e1 = position[1] - position[0], e2 = position[2] - position[0];
    return *D3DXVec3Cross(&out, &e1, &e2);
}

D3DXVECTOR3 MeshTriangle::centroid() const { return (position[0] + position[1] + position[2]) / 3.0f; }

MeshFile MeshFile::load(const std::string& relative) {
    MeshFile out;
    const std::string path = dataPath(relative);
    out.folder_ = path.substr(0, path.find_last_of('/') + 1);

    ID3DXBuffer* materialBuffer = nullptr;
    DWORD materialCount = 0;
    ID3DXMesh* mesh = nullptr;
    if (FAILED(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_MANAGED, testDevice(), nullptr, &materialBuffer, nullptr,
                                  &materialCount, &mesh)))
        return out;
    out.mesh_.reset(mesh, [](ID3DXMesh* m) { m->Release(); });

    const D3DXMATERIAL* records = static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer());
    for (DWORD i = 0; i < materialCount; ++i)
        out.materials.push_back({records[i].MatD3D, records[i].pTextureFilename ? records[i].pTextureFilename : ""});
    materialBuffer->Release();

    out.bytesPerVertex = mesh->GetNumBytesPerVertex();
    out.fvf = mesh->GetFVF();
    IDirect3DIndexBuffer9* indexBuffer = nullptr;
    if (SUCCEEDED(mesh->GetIndexBuffer(&indexBuffer))) {
        D3DINDEXBUFFER_DESC desc{};
        indexBuffer->GetDesc(&desc);
        out.sixteenBitIndices = desc.Format == D3DFMT_INDEX16 && !(mesh->GetOptions() & D3DXMESH_32BIT);
        indexBuffer->Release();
    }
    if (out.bytesPerVertex == sizeof(PackedVertex) && out.sixteenBitIndices) out.readFaces();
    return out;
}

void MeshFile::readFaces() {
    ID3DXMesh* mesh = mesh_.get();
    void* vertexData = nullptr;
    void* indexData = nullptr;
    DWORD* attributes = nullptr;
    const bool locked = SUCCEEDED(mesh->LockVertexBuffer(D3DLOCK_READONLY, &vertexData)) &&
                        SUCCEEDED(mesh->LockIndexBuffer(D3DLOCK_READONLY, &indexData)) &&
                        SUCCEEDED(mesh->LockAttributeBuffer(D3DLOCK_READONLY, &attributes));
    if (locked) {
        const PackedVertex* vertices = static_cast<const PackedVertex*>(vertexData);
        const WORD* indices = static_cast<const WORD*>(indexData);
        for (DWORD f = 0; f < mesh->GetNumFaces(); ++f) {
            MeshTriangle t;
            t.material = attributes[f];
            for (int k = 0; k < 3; ++k) {
                const PackedVertex& v = vertices[indices[f * 3 + k]];
                t.position[k] = D3DXVECTOR3(v.position);
                t.normal[k] = D3DXVECTOR3(v.normal);
                t.uv[k] = D3DXVECTOR2(v.uv);
                const D3DXVECTOR3& p = t.position[k];
                min = D3DXVECTOR3(std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z));
                max = D3DXVECTOR3(std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z));
            }
            triangles.push_back(t);
        }
    }
    if (attributes) mesh->UnlockAttributeBuffer();
    if (indexData) mesh->UnlockIndexBuffer();
    if (vertexData) mesh->UnlockVertexBuffer();
}

float MeshFile::radius() const {
    float best = 0;
    for (const MeshTriangle& t : triangles)
        for (const D3DXVECTOR3& p : t.position) best = std::max(best, D3DXVec3Length(&p));
    return best;
}

}  // namespace assettest
