#include "ImageResampler.h"

#include <algorithm>
#include <cmath>

namespace velmora::d3dx {

namespace {

struct Tap {
    uint32_t index;
    float weight;
};

// For every target texel along one axis, the source texels it reads and their weights.
std::vector<std::vector<Tap>> tapsFor(uint32_t sourceSize, uint32_t size, ResampleFilter filter) {
    const double scale = (double)sourceSize / size;
    auto clampIndex = [&](int64_t i) { return (uint32_t)std::clamp<int64_t>(i, 0, sourceSize - 1); };
    std::vector<std::vector<Tap>> taps(size);
    for (uint32_t d = 0; d < size; ++d) {
        std::vector<Tap>& out = taps[d];
        const double centre = (d + 0.5) * scale;  // texel centres sit at i + 0.5
        if (filter == ResampleFilter::Point || (filter == ResampleFilter::Box && scale <= 1.0)) {
            out.push_back({clampIndex((int64_t)std::floor(centre)), 1.0f});
        } else if (filter == ResampleFilter::Linear) {
            const double x = centre - 0.5;
            const double first = std::floor(x);
            const float fraction = (float)(x - first);
            out.push_back({clampIndex((int64_t)first), 1.0f - fraction});
            out.push_back({clampIndex((int64_t)first + 1), fraction});
        } else if (filter == ResampleFilter::Box) {
            const double low = d * scale, high = (d + 1) * scale;
            for (int64_t i = (int64_t)std::floor(low); i < (int64_t)std::ceil(high); ++i) {
                const double covered = std::min(high, (double)i + 1) - std::max(low, (double)i);
                if (covered > 0) out.push_back({clampIndex(i), (float)covered});
            }
        } else {
            const double radius = std::max(1.0, scale);
            for (int64_t i = (int64_t)std::floor(centre - radius); i <= (int64_t)std::ceil(centre + radius); ++i) {
                const double weight = 1.0 - std::fabs(i + 0.5 - centre) / radius;
                if (weight > 0) out.push_back({clampIndex(i), (float)weight});
            }
        }
        float total = 0;
        for (const Tap& tap : out) total += tap.weight;
        for (Tap& tap : out) tap.weight /= total;
    }
    return taps;
}

}  // namespace

std::vector<uint32_t> resample(const std::vector<uint32_t>& source, uint32_t sourceWidth, uint32_t sourceHeight,
                               uint32_t width, uint32_t height, ResampleFilter filter) {
    if (width == sourceWidth && height == sourceHeight) return source;

    // Rows first, into float channels (a, r, g, b) ...
    const auto across = tapsFor(sourceWidth, width, filter);
    std::vector<float> unpacked((size_t)sourceWidth * 4);
    std::vector<float> rows((size_t)width * sourceHeight * 4, 0.0f);
    for (uint32_t y = 0; y < sourceHeight; ++y) {
        const uint32_t* in = &source[(size_t)y * sourceWidth];
        for (uint32_t x = 0; x < sourceWidth; ++x)
            for (int c = 0; c < 4; ++c) unpacked[x * 4 + c] = (float)((in[x] >> (24 - 8 * c)) & 0xff);
        float* out = &rows[(size_t)y * width * 4];
        for (uint32_t x = 0; x < width; ++x)
            for (const Tap& tap : across[x])
                for (int c = 0; c < 4; ++c) out[x * 4 + c] += tap.weight * unpacked[tap.index * 4 + c];
    }

    // ... then columns, a whole row at a time, back to 8-bit channels.
    const auto down = tapsFor(sourceHeight, height, filter);
    std::vector<uint32_t> result((size_t)width * height);
    std::vector<float> sum((size_t)width * 4);
    for (uint32_t y = 0; y < height; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        for (const Tap& tap : down[y]) {
            const float* in = &rows[(size_t)tap.index * width * 4];
            for (size_t i = 0; i < sum.size(); ++i) sum[i] += tap.weight * in[i];
        }
        uint32_t* out = &result[(size_t)y * width];
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t texel = 0;
            for (int c = 0; c < 4; ++c)
                texel |= (uint32_t)(std::clamp(sum[x * 4 + c], 0.0f, 255.0f) + 0.5f) << (24 - 8 * c);
            out[x] = texel;
        }
    }
    return result;
}

}  // namespace velmora::d3dx
