#include "Mesh.h"

#include <string>

#include "ComRelease.h"

namespace {

// The folder part of a path, with its trailing separator ("data/Field/SubField2.x"
// gives "data/Field/"); empty when the name has no folder.
std::string directoryOf(const char* fileName) {
    std::string path(fileName);
    std::string::size_type separator = path.find_last_of("/\\");
    if (separator == std::string::npos) {
        // A drive letter alone ("C:name.x") still belongs to the directory.
        return (path.size() >= 2 && path[1] == ':') ? path.substr(0, 2) : std::string();
    }
    return path.substr(0, separator + 1);
}

}  // namespace

Mesh::Mesh() : mesh(nullptr), textures(nullptr), materials(nullptr), materialCount(0) {}

Mesh::~Mesh() { release(); }

bool Mesh::load(IDirect3DDevice9* device, const char* fileName) {
    release();
    std::string directory = directoryOf(fileName);

    ID3DXBuffer* materialBuffer = nullptr;
    if (FAILED(D3DXLoadMeshFromXA(fileName, D3DXMESH_MANAGED, device, nullptr, &materialBuffer, nullptr,
                                  &materialCount, &mesh))) {
        mesh = nullptr;
        materialCount = 0;
        return false;
    }

    textures = new Texture[materialCount];
    materials = new D3DMATERIAL9[materialCount]();
    const D3DXMATERIAL* source =
        materialBuffer ? static_cast<const D3DXMATERIAL*>(materialBuffer->GetBufferPointer()) : nullptr;
    for (DWORD i = 0; i < materialCount && source; ++i) {
        materials[i] = source[i].MatD3D;
        materials[i].Ambient = materials[i].Diffuse;
        // A material without a picture gets the folder alone, which loads nothing.
        std::string textureFile = directory;
        if (source[i].pTextureFilename) textureFile += source[i].pTextureFilename;
        textures[i].load(textureFile.c_str(), false);
    }
    releaseInterface(materialBuffer);
    return true;
}

void Mesh::release() {
    delete[] textures;
    textures = nullptr;
    delete[] materials;
    materials = nullptr;
    materialCount = 0;
    releaseInterface(mesh);
}
