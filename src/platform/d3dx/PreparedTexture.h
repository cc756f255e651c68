// The texels of every level of a texture made from a picture file, as the device keeps
// them. Shared between loads of one file with the same parameters, and by the textures
// those loads make until one of them is written.
#pragma once

#include "DecodedImage.h"
#include "ImageResampler.h"
#include "d3d9/TexelStorage.h"

#include <d3d9.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace velmora::d3dx {

struct TextureRequest {
    uint32_t width, height;  // of level 0
    uint32_t levels;         // at most the full chain
    bool scale;              // false: the picture is placed unscaled at the top-left
    ResampleFilter filter;
    ResampleFilter mipFilter;
    D3DCOLOR colorKey;       // 0: none
    D3DFORMAT format;        // of the textures made from it
};

struct PreparedTexture {
    std::shared_ptr<d3d9::TexelStorage> texels;
};

std::shared_ptr<const PreparedTexture> prepareTexture(const DecodedImage& image, const TextureRequest& request);

}  // namespace velmora::d3dx
