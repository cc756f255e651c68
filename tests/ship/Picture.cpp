#include "Picture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

#include <stb_image.h>
#include <stb_image_write.h>

namespace ship {

bool Picture::load(const std::string& path) {
    int channels = 0;
    unsigned char* data = stbi_load(path.c_str(), &width_, &height_, &channels, 4);
    if (!data) {
        width_ = height_ = 0;
        rgba_.clear();
        return false;
    }
    rgba_.assign(data, data + static_cast<size_t>(width_) * height_ * 4);
    stbi_image_free(data);
    return true;
}

int Picture::alphaCovered() const {
    int covered = 0;
    for (size_t i = 3; i < rgba_.size(); i += 4) covered += rgba_[i] > 0 ? 1 : 0;
    return covered;
}

Rgb Picture::pixel(int x, int y) const {
    const uint8_t* p = &rgba_[(static_cast<size_t>(y) * width_ + x) * 4];
    return Rgb{p[0], p[1], p[2]};
}

bool Picture::writePng(const std::string& path, Region region) const {
    const Region r = clip(region);
    if (r.width == 0 || r.height == 0) return false;
    const size_t stride = static_cast<size_t>(width_) * 4;
    const uint8_t* first = &rgba_[r.top * stride + static_cast<size_t>(r.left) * 4];
    return stbi_write_png(path.c_str(), r.width, r.height, 4, first, static_cast<int>(stride)) != 0;
}

double Picture::luma(int x, int y) const {
    const Rgb c = pixel(x, y);
    return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

Region Picture::clip(Region region) const {
    const int left = std::clamp(region.left, 0, width_);
    const int top = std::clamp(region.top, 0, height_);
    const int right = std::clamp(region.left + region.width, left, width_);
    const int bottom = std::clamp(region.top + region.height, top, height_);
    return Region{left, top, right - left, bottom - top};
}

RegionStats Picture::stats(Region region) const {
    const Region r = clip(region);
    RegionStats out{0, 0, 0, 0, 0};
    const double n = static_cast<double>(r.width) * r.height;
    if (n == 0) return out;
    double sumLuma = 0;
    std::unordered_set<int> colours;
    for (int y = r.top; y < r.top + r.height; ++y) {
        for (int x = r.left; x < r.left + r.width; ++x) {
            const Rgb c = pixel(x, y);
            out.meanR += c.r;
            out.meanG += c.g;
            out.meanB += c.b;
            sumLuma += luma(x, y);
            colours.insert((c.r >> 4) << 8 | (c.g >> 4) << 4 | (c.b >> 4));
        }
    }
    out.meanR /= n;
    out.meanG /= n;
    out.meanB /= n;
    // Second pass for the spread: no cancellation on flat regions.
    const double meanLuma = sumLuma / n;
    double squares = 0;
    for (int y = r.top; y < r.top + r.height; ++y) {
        for (int x = r.left; x < r.left + r.width; ++x) squares += (luma(x, y) - meanLuma) * (luma(x, y) - meanLuma);
    }
    out.lumaStdDev = std::sqrt(squares / n);
    out.distinctColours = static_cast<int>(colours.size());
    return out;
}

int Picture::count(Region region, const std::string& kind) const {
    const Region r = clip(region);
    int matching = 0;
    for (int y = r.top; y < r.top + r.height; ++y) {
        for (int x = r.left; x < r.left + r.width; ++x) matching += isColourKind(pixel(x, y), kind) ? 1 : 0;
    }
    return matching;
}

double Picture::difference(const Picture& other, Region region) const {
    const Region r = clip(other.clip(region));
    const double n = static_cast<double>(r.width) * r.height;
    if (n == 0) return 0;
    double sum = 0;
    for (int y = r.top; y < r.top + r.height; ++y) {
        for (int x = r.left; x < r.left + r.width; ++x) sum += std::fabs(luma(x, y) - other.luma(x, y));
    }
    return sum / n;
}

int Picture::horizontalShift(const Picture& other, Region region, int maxShift) const {
    // Compare on the inner part only, so that every shift tried reads inside the region.
    const Region r = clip(other.clip(region));
    const int left = r.left + maxShift;
    const int right = r.left + r.width - maxShift;
    if (right <= left) return 0;
    int best = 0;
    double bestError = std::numeric_limits<double>::max();
    for (int shift = -maxShift; shift <= maxShift; ++shift) {
        double error = 0;
        for (int y = r.top; y < r.top + r.height; y += 2) {
            for (int x = left; x < right; x += 2) error += std::fabs(other.luma(x + shift, y) - luma(x, y));
        }
        if (error < bestError) {
            bestError = error;
            best = shift;
        }
    }
    return best;
}

bool isColourKind(Rgb c, const std::string& kind, bool* known) {
    if (known) *known = true;
    const int r = c.r, g = c.g, b = c.b;
    if (kind == "orange") return r > 170 && g > 90 && g < r - 30 && b < g - 30;
    if (kind == "green") return g > 140 && g > r + 30 && g > b + 30;
    if (kind == "red") return r > 140 && g < 90 && b < 90;
    if (kind == "yellow") return r > 170 && g > 110 && b < 90 && r - b > 110;
    if (kind == "marker") return r > 220 && g > 50 && g < 150 && b < g - 20 && r - g > 100;
    if (kind == "dark") return r < 24 && g < 24 && b < 24;
    if (kind == "bright") return r > 200 && g > 200 && b > 200;
    if (kind == "steel") return b > 70 && b > r + 12;
    if (known) *known = false;
    return false;
}

}  // namespace ship
