#include "PreparedTexture.h"

#include <algorithm>
#include <cstring>

namespace velmora::d3dx {

namespace {

struct ArgbLevel {
    uint32_t width, height;
    std::vector<uint32_t> argb;
};

}  // namespace

std::shared_ptr<const PreparedTexture> prepareTexture(const DecodedImage& image, const TextureRequest& request) {
    const uint32_t sourceWidth = image.info.Width, sourceHeight = image.info.Height;

    // The colour key works on the file's texels, before any filtering.
    std::vector<uint32_t> keyed = image.argb;
    if (request.colorKey != 0)
        std::replace(keyed.begin(), keyed.end(), (uint32_t)request.colorKey, 0u);

    std::vector<ArgbLevel> levels;
    ArgbLevel top{request.width, request.height, {}};
    if (request.scale) {
        top.argb = resample(keyed, sourceWidth, sourceHeight, request.width, request.height, request.filter);
    } else {
        top.argb.assign((size_t)request.width * request.height, 0u);
        const uint32_t columns = std::min(sourceWidth, request.width), rows = std::min(sourceHeight, request.height);
        for (uint32_t y = 0; y < rows; ++y)
            std::copy_n(&keyed[(size_t)y * sourceWidth], columns, &top.argb[(size_t)y * request.width]);
    }
    levels.push_back(std::move(top));

    while (levels.size() < request.levels) {
        const ArgbLevel& above = levels.back();
        ArgbLevel next{std::max(1u, above.width / 2), std::max(1u, above.height / 2), {}};
        next.argb = resample(above.argb, above.width, above.height, next.width, next.height, request.mipFilter);
        levels.push_back(std::move(next));
    }

    // A8R8G8B8 in memory is the ARGB word, least significant byte first.
    auto texels = std::make_shared<d3d9::TexelStorage>();
    texels->format = request.format;
    for (const ArgbLevel& level : levels) {
        d3d9::TexelStorage::Level stored{level.width, level.height, std::vector<BYTE>(level.argb.size() * 4)};
        std::memcpy(stored.texels.data(), level.argb.data(), stored.texels.size());
        texels->levels.push_back(std::move(stored));
    }
    auto texture = std::make_shared<PreparedTexture>();
    texture->texels = std::move(texels);
    return texture;
}

}  // namespace velmora::d3dx
