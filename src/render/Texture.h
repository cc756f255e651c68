// A Direct3D texture together with the size of the picture it came from.
// Used for mesh materials and for every 2D picture drawn through the sprite.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

class Texture {
public:
    Texture();
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // Loads a picture file. With nonPowerOfTwo the texture keeps the picture's own size;
    // otherwise D3DX rounds each side up to a power of two.
    bool load(const char* fileName, bool nonPowerOfTwo);
    bool create(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool);
    // Sets every texel of level 0 to one colour.
    bool fill(D3DCOLOR colour, DWORD lockFlags);
    void release();

    IDirect3DTexture9* texture;
    D3DXIMAGE_INFO info;
    RECT rect;  // the whole source image, used as the sprite's source rectangle
};
