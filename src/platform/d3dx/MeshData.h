// The decoded content of a .x file as D3DX lays it out: what every mesh loaded from
// that file starts with. Immutable once decoded, so loads of one file share it.
#pragma once

#include <d3d9.h>
#include <d3dx9mesh.h>

#include "PickGeometry.h"
#include "d3d9/BufferStorage.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora::d3dx {

// D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1
struct MeshVertex {
    float position[3];
    float normal[3];
    float uv[2];
};
static_assert(sizeof(MeshVertex) == 32, "D3DX mesh vertices are 32 bytes apart");

constexpr DWORD kMeshFvf = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1;

struct MeshMaterial {
    D3DMATERIAL9 material;
    bool hasTexture;
    std::string textureFile;  // as the file names it
};

struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices;    // three per face, faces sorted by attribute
    std::vector<DWORD> attributes;    // material of each face
    std::vector<MeshMaterial> materials;
    std::shared_ptr<const PickGeometry> picking;
    // The vertex and index buffers' bytes as the device keeps them, read by every mesh made
    // from this data until one of them is locked. 16-bit indices are null when an index
    // needs more.
    std::shared_ptr<d3d9::BufferBytes> vertexBytes;
    std::shared_ptr<d3d9::BufferBytes> indexBytes16;
    std::shared_ptr<d3d9::BufferBytes> indexBytes32;
    // The attribute table every mesh made from this data starts with.
    std::shared_ptr<const std::vector<D3DXATTRIBUTERANGE>> attributeTable;

    DWORD faceCount() const { return (DWORD)attributes.size(); }
    // Fills the bytes and the attribute table from vertices, indices and attributes.
    void prepareDeviceBytes();
};

}  // namespace velmora::d3dx
