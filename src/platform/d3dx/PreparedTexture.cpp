#include "PreparedTexture.h"

#include <algorithm>

namespace velmora::d3dx {

std::shared_ptr<const PreparedTexture> prepareTexture(const DecodedImage& image, const TextureRequest& request) {
    const uint32_t sourceWidth = image.info.Width, sourceHeight = image.info.Height;

    // The colour key works on the file's texels, before any filtering.
    std::vector<uint32_t> keyed = image.argb;
    if (request.colorKey != 0)
        std::replace(keyed.begin(), keyed.end(), (uint32_t)request.colorKey, 0u);

    auto texture = std::make_shared<PreparedTexture>();
    TextureLevel top{request.width, request.height, {}};
    if (request.scale) {
        top.argb = resample(keyed, sourceWidth, sourceHeight, request.width, request.height, request.filter);
    } else {
        top.argb.assign((size_t)request.width * request.height, 0u);
        const uint32_t columns = std::min(sourceWidth, request.width), rows = std::min(sourceHeight, request.height);
        for (uint32_t y = 0; y < rows; ++y)
            std::copy_n(&keyed[(size_t)y * sourceWidth], columns, &top.argb[(size_t)y * request.width]);
    }
    texture->levels.push_back(std::move(top));

    while (texture->levels.size() < request.levels) {
        const TextureLevel& above = texture->levels.back();
        TextureLevel next{std::max(1u, above.width / 2), std::max(1u, above.height / 2), {}};
        next.argb = resample(above.argb, above.width, above.height, next.width, next.height, request.mipFilter);
        texture->levels.push_back(std::move(next));
    }
    return texture;
}

}  // namespace velmora::d3dx
