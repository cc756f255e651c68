// The texels of a texture's levels (32-bit texels, rows top first) and their copy on the
// GPU. D3DX makes one storage per picture file and size and hands it to every texture it
// loads from that file, so that a thousand dragonflies keep one copy of their pictures;
// a texture that is written first takes a copy of its own (Texture::LockRect).
#pragma once

#include "GpuCopy.h"

#include <d3d9.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace velmora::d3d9 {

// What the alpha of a texture's top level lets through.
struct AlphaCoverage {
    RECT visible;  // the smallest rectangle holding every texel whose alpha is not 0
    bool opaque;   // every texel's alpha is 255
};

struct TexelStorage {
    struct Level {
        UINT width;
        UINT height;
        std::vector<BYTE> texels;  // rows of width * 4 bytes, top row first
    };

    D3DFORMAT format = D3DFMT_A8R8G8B8;
    std::vector<Level> levels;
    // Bumped by every write: the GPU copy is stale when it saw an older revision.
    unsigned revision = 1;
    GpuCopy gpu;
    // Worked out when first asked after a write (0: never).
    AlphaCoverage coverage{};
    unsigned coverageRevision = 0;
};

// The number of levels in a full mip chain of a width x height picture, down to 1 x 1.
// Both the device and D3DX fill in a level count of 0 with it.
inline UINT fullChainLength(UINT width, UINT height) {
    UINT levels = 1;
    while (width > 1 || height > 1) {
        width = std::max(1u, width / 2);
        height = std::max(1u, height / 2);
        ++levels;
    }
    return levels;
}

}  // namespace velmora::d3d9
