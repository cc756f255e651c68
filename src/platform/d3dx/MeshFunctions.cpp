// D3DXLoadMeshFromXA and D3DXIntersect.
#include <d3dx9.h>

#include "AttributeTable.h"
#include "Buffer.h"
#include "Caches.h"
#include "ExactCast.h"
#include "MeshObject.h"
#include "XFileDecoder.h"

#include <cstring>

using namespace velmora::d3dx;

namespace {

// D3DXMATERIAL records followed by the texture names they point at.
ID3DXBuffer* materialBuffer(const std::vector<MeshMaterial>& materials) {
    size_t size = materials.size() * sizeof(D3DXMATERIAL);
    for (const MeshMaterial& material : materials)
        if (material.hasTexture) size += material.textureFile.size() + 1;
    ID3DXBuffer* buffer = new Buffer((DWORD)size);
    auto* records = static_cast<D3DXMATERIAL*>(buffer->GetBufferPointer());
    char* names = reinterpret_cast<char*>(records + materials.size());
    for (size_t i = 0; i < materials.size(); ++i) {
        records[i].MatD3D = materials[i].material;
        records[i].pTextureFilename = nullptr;
        if (materials[i].hasTexture) {
            std::memcpy(names, materials[i].textureFile.c_str(), materials[i].textureFile.size() + 1);
            records[i].pTextureFilename = names;
            names += materials[i].textureFile.size() + 1;
        }
    }
    return buffer;
}

ID3DXBuffer* adjacencyBuffer(const MeshData& data) {
    const std::vector<DWORD> adjacency =
        buildAdjacency(data.vertices.front().position, sizeof(MeshVertex), data.vertices.size(), data.indices);
    ID3DXBuffer* buffer = new Buffer((DWORD)(adjacency.size() * sizeof(DWORD)));
    std::memcpy(buffer->GetBufferPointer(), adjacency.data(), adjacency.size() * sizeof(DWORD));
    return buffer;
}

std::shared_ptr<const MeshData> loadMeshFile(const char* fileName) {
    const std::string path = normalizePath(fileName);
    FileStamp stamp;
    if (!stampOf(path, stamp)) return nullptr;
    return meshFiles().get(path, stamp, [&]() -> std::shared_ptr<const MeshData> {
        std::vector<unsigned char> bytes;
        if (!readWholeFile(path, bytes)) return nullptr;
        countMeshDecode();
        return decodeXFile(bytes.data(), bytes.size());
    });
}

}  // namespace

HRESULT WINAPI D3DXLoadMeshFromXA(LPCSTR pFilename, DWORD Options, LPDIRECT3DDEVICE9 pD3DDevice,
                                  LPD3DXBUFFER* ppAdjacency, LPD3DXBUFFER* ppMaterials,
                                  LPD3DXBUFFER* ppEffectInstances, DWORD* pNumMaterials, LPD3DXMESH* ppMesh) {
    if (!pFilename || !pD3DDevice || !ppMesh) return D3DERR_INVALIDCALL;
    const std::shared_ptr<const MeshData> data = loadMeshFile(pFilename);
    if (!data) return D3DXERR_INVALIDDATA;

    ID3DXMesh* mesh = nullptr;
    const HRESULT hr = MeshObject::create(pD3DDevice, Options, *data, &mesh);
    if (FAILED(hr)) return hr;

    *ppMesh = mesh;
    if (ppMaterials) *ppMaterials = materialBuffer(data->materials);
    if (pNumMaterials) *pNumMaterials = (DWORD)data->materials.size();
    if (ppAdjacency) *ppAdjacency = adjacencyBuffer(*data);
    if (ppEffectInstances) *ppEffectInstances = nullptr;
    return D3D_OK;
}

HRESULT WINAPI D3DXIntersect(LPD3DXBASEMESH pMesh, const D3DXVECTOR3* pRayPos, const D3DXVECTOR3* pRayDir,
                             BOOL* pHit, DWORD* pFaceIndex, FLOAT* pU, FLOAT* pV, FLOAT* pDist,
                             LPD3DXBUFFER* ppAllHits, DWORD* pCountOfHits) {
    auto* mesh = velmora::exactCast<MeshObject>(pMesh);
    if (!mesh || !pRayPos || !pRayDir) return D3DERR_INVALIDCALL;
    const std::shared_ptr<const PickGeometry>& picking = mesh->picking();
    const Ray ray(*pRayPos, *pRayDir);

    RayHit nearest{};
    bool found;
    if (ppAllHits || pCountOfHits) {
        std::vector<RayHit> hits;
        picking->all(ray, hits);
        found = !hits.empty();
        for (const RayHit& hit : hits)
            if (&hit == &hits.front() || closerThan(hit, nearest)) nearest = hit;
        if (pCountOfHits) *pCountOfHits = (DWORD)hits.size();
        if (ppAllHits) {
            *ppAllHits = nullptr;
            if (found) {
                *ppAllHits = new Buffer((DWORD)(hits.size() * sizeof(D3DXINTERSECTINFO)));
                auto* infos = static_cast<D3DXINTERSECTINFO*>((*ppAllHits)->GetBufferPointer());
                for (size_t i = 0; i < hits.size(); ++i)
                    infos[i] = D3DXINTERSECTINFO{hits[i].face, hits[i].u, hits[i].v, hits[i].dist};
            }
        }
    } else {
        found = picking->nearest(ray, nearest);
    }

    if (pHit) *pHit = found ? TRUE : FALSE;
    if (found) {
        if (pFaceIndex) *pFaceIndex = nearest.face;
        if (pU) *pU = nearest.u;
        if (pV) *pV = nearest.v;
        if (pDist) *pDist = nearest.dist;
    }
    return D3D_OK;
}
