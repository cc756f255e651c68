// A model loaded from a DirectX .x file, with its material colours and one texture
// per material taken from the folder of the .x file.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "Texture.h"

class Mesh {
public:
    Mesh();
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    bool load(IDirect3DDevice9* device, const char* fileName);
    void release();

    ID3DXMesh* mesh;
    Texture* textures;         // materialCount entries; empty where a material has no picture
    D3DMATERIAL9* materials;   // materialCount entries, Ambient set to Diffuse
    DWORD materialCount;
};
