#include "ImageStats.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gallery {

bool differsFrom(velmora::Rgba pixel, velmora::Rgba background) {
    return std::abs(pixel.r - background.r) + std::abs(pixel.g - background.g) + std::abs(pixel.b - background.b) > 12;
}

double luminance(velmora::Rgba pixel) { return 0.299 * pixel.r + 0.587 * pixel.g + 0.114 * pixel.b; }

Silhouette silhouetteOf(const velmora::Image& image, velmora::Rgba background) {
    Silhouette s;
    s.bounds = {image.width, image.height, 0, 0};
    double sumX = 0, sumY = 0;
    for (unsigned y = 0; y < image.height; ++y)
        for (unsigned x = 0; x < image.width; ++x) {
            if (!differsFrom(image.pixel(x, y), background)) continue;
            ++s.pixels;
            sumX += x, sumY += y;
            s.bounds.left = std::min(s.bounds.left, x);
            s.bounds.top = std::min(s.bounds.top, y);
            s.bounds.right = std::max(s.bounds.right, x + 1);
            s.bounds.bottom = std::max(s.bounds.bottom, y + 1);
        }
    if (s.pixels) {
        s.centreX = sumX / s.pixels;
        s.centreY = sumY / s.pixels;
        s.share = double(s.pixels) / (double(image.width) * image.height);
    }
    return s;
}

double meanLuminance(const velmora::Image& image, const Area& area, velmora::Rgba background) {
    double sum = 0;
    size_t count = 0;
    for (unsigned y = area.top; y < area.bottom; ++y)
        for (unsigned x = area.left; x < area.right; ++x) {
            const velmora::Rgba p = image.pixel(x, y);
            if (!differsFrom(p, background)) continue;
            sum += luminance(p);
            ++count;
        }
    return count ? sum / count : -1;
}

SideLuminance sideLuminance(const velmora::Image& image, velmora::Rgba background, double towardsX, double towardsY) {
    const Silhouette s = silhouetteOf(image, background);
    double sum[2] = {0, 0};
    size_t count[2] = {0, 0};
    for (unsigned y = s.bounds.top; y < s.bounds.bottom; ++y)
        for (unsigned x = s.bounds.left; x < s.bounds.right; ++x) {
            const velmora::Rgba p = image.pixel(x, y);
            if (!differsFrom(p, background)) continue;
            const int side = (x - s.centreX) * towardsX + (y - s.centreY) * towardsY > 0 ? 0 : 1;
            sum[side] += luminance(p);
            ++count[side];
        }
    return {count[0] ? sum[0] / count[0] : 0, count[1] ? sum[1] / count[1] : 0};
}

double luminanceSpread(const velmora::Image& image) {
    double sum = 0, squares = 0;
    const double n = double(image.width) * image.height;
    for (unsigned y = 0; y < image.height; ++y)
        for (unsigned x = 0; x < image.width; ++x) {
            const double l = luminance(image.pixel(x, y));
            sum += l;
            squares += l * l;
        }
    const double mean = sum / n;
    return std::sqrt(std::max(0.0, squares / n - mean * mean));
}

double meanDifference(const velmora::Image& a, const velmora::Image& b, const Area& area) {
    double sum = 0;
    size_t count = 0;
    for (unsigned y = area.top; y < area.bottom; ++y)
        for (unsigned x = area.left; x < area.right; ++x) {
            const velmora::Rgba p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
            count += 3;
        }
    return count ? sum / count : 0;
}

}  // namespace gallery
