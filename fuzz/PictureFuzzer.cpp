// PNG and BMP pictures (and whatever else stb_image would take), loaded the ways the game
// loads them: power-of-two and unscaled sizes with a full mip chain, and the explicit
// 1280 x 256 gauge size without filtering; plus D3DXGetImageInfoFromFileA.
#include <d3dx9.h>

#include <cstdint>
#include <cstdlib>

#include "FuzzInputFile.h"
#include "FuzzDevice.h"

namespace {

struct SizeMode {
    UINT width, height, mipLevels;
    DWORD filter;
};

constexpr SizeMode kModes[] = {
    {D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT},
    {D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT, D3DX_DEFAULT},
    {1280, 256, 1, D3DX_FILTER_NONE},
};

void touchEveryLevel(IDirect3DTexture9* texture) {
    for (DWORD level = 0; level < texture->GetLevelCount(); ++level) {
        D3DSURFACE_DESC desc;
        D3DLOCKED_RECT locked;
        if (FAILED(texture->GetLevelDesc(level, &desc)) || FAILED(texture->LockRect(level, &locked, nullptr, 0)))
            std::abort();
        // The last texel of the level: it must be inside what the lock handed out.
        const BYTE* last = static_cast<const BYTE*>(locked.pBits) + (desc.Height - 1) * locked.Pitch + (desc.Width - 1) * 4;
        volatile BYTE read = *last;
        (void)read;
        texture->UnlockRect(level);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile input("input.png");
    IDirect3DDevice9* device = fuzzDevice();
    const char* path = input.writeForD3DX(data, size);

    D3DXIMAGE_INFO fileInfo{};
    const bool known = SUCCEEDED(D3DXGetImageInfoFromFileA(path, &fileInfo));
    for (const SizeMode& mode : kModes) {
        D3DXIMAGE_INFO info{};
        IDirect3DTexture9* texture = nullptr;
        if (FAILED(D3DXCreateTextureFromFileExA(device, path, mode.width, mode.height, mode.mipLevels, 0,
                                                D3DFMT_UNKNOWN, D3DPOOL_MANAGED, mode.filter, D3DX_DEFAULT, 0, &info,
                                                nullptr, &texture)))
            continue;
        // A picture that makes a texture is one whose information can be read.
        if (!known || info.Width != fileInfo.Width || info.Height != fileInfo.Height) std::abort();
        touchEveryLevel(texture);
        texture->Release();
    }
    return 0;
}
