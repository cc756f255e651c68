// A screenshot or icon read from a PNG, with the region measurements the ship tests use
// to tell what a person would see: average colour, contrast, how many pixels of a kind
// of colour, how much two pictures differ and by how far one is shifted sideways.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ship {

struct Region {
    int left, top, width, height;
};

struct Rgb {
    uint8_t r, g, b;
};

struct RegionStats {
    double meanR, meanG, meanB;
    double lumaStdDev;
    int distinctColours;  // quantised to 4 bits a channel
};

class Picture {
public:
    // False when the file is missing or not a picture.
    bool load(const std::string& path);

    int width() const { return width_; }
    int height() const { return height_; }
    int alphaCovered() const;  // pixels that are not fully transparent
    Rgb pixel(int x, int y) const;
    bool writePng(const std::string& path, Region region) const;

    // The region clipped to the picture; an empty result has zero width or height.
    Region clip(Region region) const;
    RegionStats stats(Region region) const;
    // Pixels in the region whose colour is of the named kind (see isColourKind).
    int count(Region region, const std::string& kind) const;
    // Mean absolute luma difference over the region, both pictures the same size.
    double difference(const Picture& other, Region region) const;
    // The sideways shift (in pixels, within +-maxShift) that best lays this picture's
    // region over the other's: content that moved right gives a positive shift.
    int horizontalShift(const Picture& other, Region region, int maxShift) const;

private:
    double luma(int x, int y) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<uint8_t> rgba_;
};

// Whether a colour is of a kind: orange (the title's letters), green (the life gauge),
// red (the aiming guide), marker (the lock-on marker's glowing orange-red), yellow (the
// hazard stripes of ledges and lifts), steel (the spider machine's bluish metal), dark, bright.
bool isColourKind(Rgb c, const std::string& kind, bool* known = nullptr);

}  // namespace ship
