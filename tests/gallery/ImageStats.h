// Measures of a gallery picture: what differs from the background, where it lies, how
// bright its parts are.
#pragma once

#include <velmora/Screenshot.h>

#include <cstddef>

namespace gallery {

struct Area {
    unsigned left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
};

// The pixels that differ from the background colour.
struct Silhouette {
    size_t pixels = 0;
    double share = 0;             // of the whole picture
    double centreX = 0, centreY = 0;
    Area bounds;
};

Silhouette silhouetteOf(const velmora::Image& image, velmora::Rgba background);

bool differsFrom(velmora::Rgba pixel, velmora::Rgba background);
double luminance(velmora::Rgba pixel);  // 0..255

// Mean luminance of the pixels in the area that differ from the background; -1 when none.
double meanLuminance(const velmora::Image& image, const Area& area, velmora::Rgba background);
// Mean luminance of the object's pixels on either side of the line through its centre
// across `towards` (a direction in the picture, y down): first the side it points to.
struct SideLuminance {
    double towards = 0, away = 0;
};
SideLuminance sideLuminance(const velmora::Image& image, velmora::Rgba background, double towardsX, double towardsY);
// Standard deviation of the luminance over the whole picture: 0 for a flat picture.
double luminanceSpread(const velmora::Image& image);
// Mean of |a - b| over the colour channels of the area's pixels.
double meanDifference(const velmora::Image& a, const velmora::Image& b, const Area& area);

}  // namespace gallery
