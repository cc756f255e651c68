// A picture file loaded into a texture with D3DXCreateTextureFromFileExA, with the same
// size, filter and level arguments the game uses for it, and its top level read back.
#pragma once

#include <d3dx9.h>

#include <string>
#include <vector>

namespace assettest {

class Picture {
public:
    // As a screen picture or effect sheet: its own size (D3DX_DEFAULT_NONPOW2).
    static Picture atOwnSize(const std::string& relative);
    // As a mesh texture: each side rounded up to a power of two (D3DX_DEFAULT).
    static Picture asMeshTexture(const std::string& path);
    // As a gauge or the marker: into a texture of the given size, not scaled
    // (D3DX_FILTER_NONE), so the picture sits at the top-left.
    static Picture intoTexture(const std::string& relative, UINT width, UINT height);

    bool loaded = false;
    D3DXIMAGE_INFO file{};  // the picture file's own size and format
    UINT width = 0, height = 0;  // of the texture's top level
    D3DFORMAT format = D3DFMT_UNKNOWN;

    D3DCOLOR texel(UINT x, UINT y) const { return texels_[size_t(y) * width + x]; }
    int alpha(UINT x, UINT y) const { return format == D3DFMT_X8R8G8B8 ? 255 : int(texel(x, y) >> 24); }
    int red(UINT x, UINT y) const { return int(texel(x, y) >> 16) & 0xFF; }
    int green(UINT x, UINT y) const { return int(texel(x, y) >> 8) & 0xFF; }
    int blue(UINT x, UINT y) const { return int(texel(x, y)) & 0xFF; }
    // 0..1
    double luminance(UINT x, UINT y) const;
    // Share of fully opaque texels in the block [x0, x1) x [y0, y1).
    double opaqueShare(UINT x0, UINT x1, UINT y0, UINT y1) const;

private:
    static Picture load(const std::string& path, UINT width, UINT height, UINT levels, DWORD filter);

    std::vector<D3DCOLOR> texels_;
};

}  // namespace assettest
