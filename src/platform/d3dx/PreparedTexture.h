// The texels of every level of a texture made from a picture file, ready to be copied
// into the device's texture. Shared between loads of one file with the same parameters.
#pragma once

#include "DecodedImage.h"
#include "ImageResampler.h"

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
};

struct TextureLevel {
    uint32_t width, height;
    std::vector<uint32_t> argb;
};

struct PreparedTexture {
    std::vector<TextureLevel> levels;
};

std::shared_ptr<const PreparedTexture> prepareTexture(const DecodedImage& image, const TextureRequest& request);

}  // namespace velmora::d3dx
