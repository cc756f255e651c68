// Scaling ARGB pictures for textures and their mip levels. Channels are filtered
// separately (straight alpha), rows then columns; edges are clamped. A picture scaled to
// its own size comes back unchanged with every filter.
#pragma once

#include <cstdint>
#include <vector>

namespace velmora::d3dx {

enum class ResampleFilter {
    Point,     // nearest texel
    Linear,    // bilinear
    Triangle,  // tent over the texels a target texel covers (bilinear when enlarging)
    Box,       // average of the covered area (nearest when enlarging)
};

std::vector<uint32_t> resample(const std::vector<uint32_t>& source, uint32_t sourceWidth, uint32_t sourceHeight,
                               uint32_t width, uint32_t height, ResampleFilter filter);

}  // namespace velmora::d3dx
