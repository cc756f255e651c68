// The Direct3D object, the device and the sprite shared by all 2D drawing.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "Texture.h"

class Graphics {
public:
    static Graphics& get();

    bool init(HWND window, int width, int height, D3DFORMAT fullScreenFormat, bool fullScreen);
    // The fixed render, texture-stage and sampler states and the default light 0.
    void setDefaultStates();
    void setDirectionalLight(DWORD index, const D3DXVECTOR3* direction, const D3DCOLORVALUE* diffuse,
                             const D3DCOLORVALUE* ambient, const D3DCOLORVALUE* specular);
    D3DLIGHT9* getLight(D3DLIGHT9* out, DWORD index);
    void release();

    // Draws a whole picture through the sprite. A null transform keeps the sprite's
    // transform from the previous call. Call between the sprite's Begin and End.
    void drawSprite(const Texture* picture, D3DCOLOR colour, const D3DXMATRIX* transform);

    IDirect3D9* d3d;
    IDirect3DDevice9* device;
    D3DPRESENT_PARAMETERS presentParams;
    ID3DXSprite* sprite;

private:
    Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;
};
