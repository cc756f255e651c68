#include "Texture.h"

#include "ComRelease.h"
#include "Graphics.h"

namespace {

RECT wholeImage(const D3DXIMAGE_INFO& image) {
    RECT whole = {0, 0, static_cast<LONG>(image.Width), static_cast<LONG>(image.Height)};
    return whole;
}

}  // namespace

Texture::Texture() : texture(nullptr) {
    ZeroMemory(&info, sizeof(info));
    ZeroMemory(&rect, sizeof(rect));
}

Texture::~Texture() { release(); }

bool Texture::load(const char* fileName, bool nonPowerOfTwo) {
    release();
    UINT size = nonPowerOfTwo ? D3DX_DEFAULT_NONPOW2 : D3DX_DEFAULT;
    if (FAILED(D3DXCreateTextureFromFileExA(Graphics::get().device, fileName, size, size, D3DX_DEFAULT, 0,
                                           D3DFMT_UNKNOWN, D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, &info,
                                           nullptr, &texture))) {
        texture = nullptr;
        release();
        return false;
    }
    // The source image's size, which for a power-of-two texture is smaller than the texture.
    rect = wholeImage(info);
    return true;
}

bool Texture::create(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool) {
    release();
    if (FAILED(D3DXCreateTexture(Graphics::get().device, width, height, levels, usage, format, pool, &texture))) {
        texture = nullptr;
        return false;
    }
    D3DSURFACE_DESC description;
    texture->GetLevelDesc(0, &description);
    info.Width = description.Width;
    info.Height = description.Height;
    info.Format = description.Format;
    info.MipLevels = texture->GetLevelCount();
    rect = wholeImage(info);
    return true;
}

bool Texture::fill(D3DCOLOR colour, DWORD lockFlags) {
    if (!texture) return false;
    D3DLOCKED_RECT locked;
    if (FAILED(texture->LockRect(0, &locked, nullptr, lockFlags))) return false;
    BYTE* row = static_cast<BYTE*>(locked.pBits);
    for (UINT y = 0; y < info.Height; ++y) {
        DWORD* texel = reinterpret_cast<DWORD*>(row);
        for (UINT x = 0; x < info.Width; ++x) texel[x] = colour;
        row += locked.Pitch;
    }
    texture->UnlockRect(0);
    return true;
}

void Texture::release() {
    releaseInterface(texture);
    ZeroMemory(&info, sizeof(info));
    ZeroMemory(&rect, sizeof(rect));
}
