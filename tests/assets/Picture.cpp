#include "Picture.h"

#include "TestData.h"
#include "TestDevice.h"

namespace assettest {

Picture Picture::atOwnSize(const std::string& relative) {
    return load(dataPath(relative), D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT_NONPOW2, D3DX_DEFAULT, D3DX_DEFAULT);
}

Picture Picture::asMeshTexture(const std::string& path) {
    return load(path, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT);
}

Picture Picture::intoTexture(const std::string& relative, UINT width, UINT height) {
    return load(dataPath(relative), width, height, 1, D3DX_FILTER_NONE);
}

Picture Picture::load(const std::string& path, UINT width, UINT height, UINT levels, DWORD filter) {
    Picture out;
    IDirect3DTexture9* texture = nullptr;
    if (FAILED(D3DXCreateTextureFromFileExA(testDevice(), path.c_str(), width, height, levels, 0, D3DFMT_UNKNOWN,
                                           D3DPOOL_MANAGED, filter, D3DX_DEFAULT, 0, &out.file, nullptr, &texture)))
        return out;
    D3DSURFACE_DESC desc{};
    D3DLOCKED_RECT locked{};
    if (SUCCEEDED(texture->GetLevelDesc(0, &desc)) &&
        SUCCEEDED(texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY))) {
        out.width = desc.Width;
        out.height = desc.Height;
        out.format = desc.Format;
        out.texels_.resize(size_t(desc.Width) * desc.Height);
        for (UINT y = 0; y < desc.Height; ++y) {
            const D3DCOLOR* row = reinterpret_cast<const D3DCOLOR*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
            std::copy(row, row + desc.Width, out.texels_.begin() + size_t(y) * desc.Width);
        }
        texture->UnlockRect(0);
        out.loaded = desc.Format == D3DFMT_A8R8G8B8 || desc.Format == D3DFMT_X8R8G8B8;
    }
    texture->Release();
    return out;
}

double Picture::luminance(UINT x, UINT y) const {
    return (0.299 * red(x, y) + 0.587 * green(x, y) + 0.114 * blue(x, y)) / 255;
}

double Picture::opaqueShare(UINT x0, UINT x1, UINT y0, UINT y1) const {
    size_t opaque = 0;
    for (UINT y = y0; y < y1; ++y)
        for (UINT x = x0; x < x1; ++x) opaque += alpha(x, y) == 255;
    return double(opaque) / (double(x1 - x0) * (y1 - y0));
}

}  // namespace assettest
