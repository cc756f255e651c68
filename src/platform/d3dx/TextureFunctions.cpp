// D3DXCreateTextureFromFileExA, D3DXCreateTextureFromFileA, D3DXCreateTexture and
// D3DXGetImageInfoFromFileA.
#include <d3dx9.h>

#include "Caches.h"
#include "d3d9/DeviceInternals.h"
#include "SourceFile.h"

#include <algorithm>
#include <cstring>
#include <string>

using namespace velmora::d3dx;

namespace {

// The largest texture side D3DX asks the device for, as on D3D9 hardware.
constexpr UINT kMaxTextureSize = 8192;

UINT nextPowerOfTwo(UINT size) {
    UINT power = 1;
    while (power < size) power *= 2;
    return power;
}

UINT levelCount(UINT requested, UINT width, UINT height) {
    const UINT chain = velmora::d3d9::fullChainLength(width, height);
    if (requested == 0 || requested == D3DX_DEFAULT) return chain;
    if (requested == D3DX_FROM_FILE) return 1;
    return std::min(requested, chain);
}

bool hasAlphaChannel(D3DFORMAT format) {
    switch ((int)format) {
        case D3DFMT_A8R8G8B8:
        case 25:  // A1R5G5B5
        case 26:  // A4R4G4B4
        case D3DFMT_A8:
        case 29:  // A8R3G3B2
        case 31:  // A2B10G10R10
        case D3DFMT_A8B8G8R8:
        case 35:  // A2R10G10B10
        case 51:  // A8L8
        case 52:  // A4L4
            return true;
        default:
            return false;
    }
}

// The device stores 32-bit colour only: other formats go to the one that keeps their alpha.
D3DFORMAT deviceFormat(D3DFORMAT requested, bool needsAlpha) {
    if (requested == D3DFMT_UNKNOWN) return needsAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    return hasAlphaChannel(requested) ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
}

bool filterOf(DWORD value, ResampleFilter fallback, ResampleFilter& filter, bool& scale) {
    scale = true;
    if (value == D3DX_DEFAULT) {
        filter = fallback;
        return true;
    }
    switch (value & 0xff) {
        case D3DX_FILTER_NONE: filter = fallback; scale = false; return true;
        case D3DX_FILTER_POINT: filter = ResampleFilter::Point; return true;
        case D3DX_FILTER_LINEAR: filter = ResampleFilter::Linear; return true;
        case D3DX_FILTER_TRIANGLE: filter = ResampleFilter::Triangle; return true;
        case D3DX_FILTER_BOX: filter = ResampleFilter::Box; return true;
        default: return false;
    }
}

std::shared_ptr<const DecodedImage> loadImage(const std::string& path, FileStamp& stamp) {
    if (!stampOf(path, stamp)) return nullptr;
    return imageFiles().get(path, stamp, [&]() -> std::shared_ptr<const DecodedImage> {
        std::vector<unsigned char> bytes;
        if (!readWholeFile(path, bytes)) return nullptr;
        countImageDecode();
        return decodeImage(bytes.data(), bytes.size());
    });
}

// Width or height as asked: 0 and D3DX_DEFAULT round the picture up to a power of two.
UINT textureSide(UINT requested, UINT pictureSide) {
    if (requested == 0 || requested == D3DX_DEFAULT) return nextPowerOfTwo(pictureSide);
    if (requested == D3DX_DEFAULT_NONPOW2 || requested == D3DX_FROM_FILE) return pictureSide;
    return requested;
}

std::string requestKey(const std::string& path, const TextureRequest& r) {
    return path + '|' + std::to_string(r.width) + 'x' + std::to_string(r.height) + '|' + std::to_string(r.levels) +
           '|' + std::to_string(r.scale) + std::to_string((int)r.filter) + std::to_string((int)r.mipFilter) + '|' +
           std::to_string(r.colorKey) + '|' + std::to_string(r.format);
}

// A texture that is not the device's own gets a copy of the prepared texels through LockRect.
HRESULT fillTexture(IDirect3DTexture9* texture, const PreparedTexture& prepared) {
    const auto& sources = prepared.texels->levels;
    const UINT levels = std::min<UINT>(texture->GetLevelCount(), (UINT)sources.size());
    for (UINT level = 0; level < levels; ++level) {
        const velmora::d3d9::TexelStorage::Level& source = sources[level];
        D3DLOCKED_RECT locked;
        const HRESULT hr = texture->LockRect(level, &locked, nullptr, 0);
        if (FAILED(hr)) return hr;
        const size_t rowBytes = size_t(source.width) * sizeof(uint32_t);
        for (UINT y = 0; y < source.height; ++y)
            std::memcpy(static_cast<BYTE*>(locked.pBits) + (size_t)y * locked.Pitch, &source.texels[y * rowBytes],
                        rowBytes);
        texture->UnlockRect(level);
    }
    return D3D_OK;
}

}  // namespace

HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR pSrcFile, D3DXIMAGE_INFO* pSrcInfo) {
    if (!pSrcFile || !pSrcInfo) return D3DERR_INVALIDCALL;
    FileStamp stamp;
    const std::shared_ptr<const DecodedImage> image = loadImage(normalizePath(pSrcFile), stamp);
    if (!image) return D3DXERR_INVALIDDATA;
    *pSrcInfo = image->info;
    return D3D_OK;
}

HRESULT WINAPI D3DXCreateTextureFromFileExA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile, UINT Width, UINT Height,
                                            UINT MipLevels, DWORD Usage, D3DFORMAT Format, D3DPOOL Pool,
                                            DWORD Filter, DWORD MipFilter, D3DCOLOR ColorKey,
                                            D3DXIMAGE_INFO* pSrcInfo, PALETTEENTRY*, LPDIRECT3DTEXTURE9* ppTexture) {
    if (!pDevice || !pSrcFile || !ppTexture) return D3DERR_INVALIDCALL;
    TextureRequest request{};
    bool scaleMips;
    if (!filterOf(Filter, ResampleFilter::Triangle, request.filter, request.scale) ||
        !filterOf(MipFilter, ResampleFilter::Box, request.mipFilter, scaleMips))
        return D3DERR_INVALIDCALL;

    const std::string path = normalizePath(pSrcFile);
    FileStamp stamp;
    const std::shared_ptr<const DecodedImage> image = loadImage(path, stamp);
    if (!image) return D3DXERR_INVALIDDATA;

    request.width = textureSide(Width, image->info.Width);
    request.height = textureSide(Height, image->info.Height);
    if (request.width > kMaxTextureSize || request.height > kMaxTextureSize) return D3DERR_NOTAVAILABLE;
    request.levels = levelCount(MipLevels, request.width, request.height);
    request.colorKey = ColorKey;
    const D3DFORMAT format = deviceFormat(Format, image->hasAlpha || ColorKey != 0);
    request.format = format;

    const std::shared_ptr<const PreparedTexture> prepared = preparedTextures().get(
        requestKey(path, request), stamp, [&]() { return prepareTexture(*image, request); });

    // The device's own textures read the prepared texels where they are.
    IDirect3DTexture9* texture = nullptr;
    if (!velmora::d3d9::createSharingTexture(pDevice, prepared->texels, Usage, Pool, &texture)) {
        HRESULT hr = pDevice->CreateTexture(request.width, request.height, request.levels, Usage, format, Pool,
                                            &texture, nullptr);
        if (FAILED(hr)) return hr;
        if (FAILED(hr = fillTexture(texture, *prepared))) {
            texture->Release();
            return hr;
        }
    }
    if (pSrcInfo) *pSrcInfo = image->info;
    *ppTexture = texture;
    return D3D_OK;
}

HRESULT WINAPI D3DXCreateTextureFromFileA(LPDIRECT3DDEVICE9 pDevice, LPCSTR pSrcFile, LPDIRECT3DTEXTURE9* ppTexture) {
    return D3DXCreateTextureFromFileExA(pDevice, pSrcFile, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                        D3DPOOL_MANAGED, D3DX_DEFAULT, D3DX_DEFAULT, 0, nullptr, nullptr, ppTexture);
}

HRESULT WINAPI D3DXCreateTexture(LPDIRECT3DDEVICE9 pDevice, UINT Width, UINT Height, UINT MipLevels, DWORD Usage,
                                 D3DFORMAT Format, D3DPOOL Pool, LPDIRECT3DTEXTURE9* ppTexture) {
    if (!pDevice || !ppTexture) return D3DERR_INVALIDCALL;
    auto side = [](UINT requested) -> UINT {
        if (requested == D3DX_DEFAULT || requested == D3DX_DEFAULT_NONPOW2 || requested == D3DX_FROM_FILE) return 256;
        return std::clamp(requested, 1u, kMaxTextureSize);
    };
    const UINT width = side(Width), height = side(Height);
    // With no format given D3DX picks A8R8G8B8.
    return pDevice->CreateTexture(width, height, levelCount(MipLevels, width, height), Usage,
                                  deviceFormat(Format, true), Pool, ppTexture, nullptr);
}
