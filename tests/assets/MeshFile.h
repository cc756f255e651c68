// A .x mesh loaded with D3DXLoadMeshFromXA the way the game loads it, with its material
// records and its faces read back through the mesh's buffer locks.
#pragma once

#include <d3dx9.h>

#include <memory>
#include <string>
#include <vector>

namespace assettest {

struct MeshMaterial {
    D3DMATERIAL9 colours;
    std::string texture;  // the file name the material gives, empty for none
};

struct MeshTriangle {
    D3DXVECTOR3 position[3];
    D3DXVECTOR3 normal[3];
    D3DXVECTOR2 uv[3];
    DWORD material;

    // Points out of the front: Direct3D faces are clockwise seen from there.
    D3DXVECTOR3 windingNormal() const;
    D3DXVECTOR3 centroid() const;
};

class MeshFile {
public:
    // relative: a path below the data folder, such as "Field/Lift2.x".
    static MeshFile load(const std::string& relative);

    bool loaded() const { return mesh_ != nullptr; }
    ID3DXMesh* mesh() const { return mesh_.get(); }
    // The folder the game takes the material textures from, with a trailing slash.
    const std::string& folder() const { return folder_; }

    DWORD bytesPerVertex = 0;
    DWORD fvf = 0;
    bool sixteenBitIndices = false;
    std::vector<MeshMaterial> materials;
    std::vector<MeshTriangle> triangles;  // every face, read only when the vertex layout is the 32-byte one
    D3DXVECTOR3 min{1e30f, 1e30f, 1e30f};
    D3DXVECTOR3 max{-1e30f, -1e30f, -1e30f};

    // The farthest vertex from the model's origin.
    float radius() const;

private:
    void readFaces();

    std::shared_ptr<ID3DXMesh> mesh_;
    std::string folder_;
};

}  // namespace assettest
