// .x meshes: D3DXLoadMeshFromXA on the headless device (assimp's import and the D3DX mesh
// built from it), then what the game does with a mesh: its materials, subsets drawn, and
// ray queries with D3DXIntersect.
#include <d3dx9.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "FuzzInputFile.h"
#include "FuzzDevice.h"
#include "velmora/DrawLog.h"

// assimp keeps part of its parse state when it gives up on a file; that is not our leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }

namespace {

void checkMaterials(ID3DXBuffer* materials, DWORD count) {
    const auto* records = static_cast<const D3DXMATERIAL*>(materials->GetBufferPointer());
    for (DWORD i = 0; i < count; ++i)
        if (records[i].pTextureFilename && std::strlen(records[i].pTextureFilename) > materials->GetBufferSize())
            std::abort();
}

void castRays(ID3DXMesh* mesh) {
    const D3DXVECTOR3 origins[] = {{0, 0, -100}, {0, 100, 0}, {0.5f, 0.25f, 0.125f}};
    const D3DXVECTOR3 directions[] = {{0, 0, 1}, {0, -1, 0}, {1, 1, 1}};
    for (int i = 0; i < 3; ++i) {
        BOOL hit = FALSE;
        DWORD face = 0, count = 0;
        FLOAT u, v, dist;
        ID3DXBuffer* all = nullptr;
        D3DXIntersect(mesh, &origins[i], &directions[i], &hit, &face, &u, &v, &dist, &all, &count);
        if (hit && face >= mesh->GetNumFaces()) std::abort();
        if (all) all->Release();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile input("input.x");
    IDirect3DDevice9* device = fuzzDevice();
    const char* path = input.writeForD3DX(data, size);

    ID3DXBuffer* materials = nullptr;
    ID3DXBuffer* adjacency = nullptr;
    DWORD materialCount = 0;
    ID3DXMesh* mesh = nullptr;
    if (FAILED(D3DXLoadMeshFromXA(path, D3DXMESH_MANAGED, device, &adjacency, &materials, nullptr, &materialCount,
                                  &mesh)))
        return 0;
    checkMaterials(materials, materialCount);
    for (DWORD i = 0; i < materialCount; ++i) mesh->DrawSubset(i);
    castRays(mesh);
    velmora::resetDrawLog();
    materials->Release();
    adjacency->Release();
    mesh->Release();
    return 0;
}
