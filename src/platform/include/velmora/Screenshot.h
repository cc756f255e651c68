// Reading what the real device drew: the back buffer of the most recently created device
// as RGBA, and PNG files of it. Tests and tools only; the game never includes this.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

struct Rgba {
    uint8_t r, g, b, a;
};

struct Image {
    unsigned width = 0;
    unsigned height = 0;
    std::vector<uint8_t> rgba;  // rows top first, 4 bytes a pixel; alpha is 255

    Rgba pixel(unsigned x, unsigned y) const {
        const uint8_t* p = rgba.data() + (size_t(y) * width + x) * 4;
        return {p[0], p[1], p[2], p[3]};
    }
};

// The back buffer as the next Present would show it (the image of the last frame drawn).
// False in the headless backend or when no device exists.
// Always at the back buffer's size: a frame drawn larger is scaled down.
bool readBackBuffer(Image& out);
// The last frame at the size it was drawn: the window's pixel size, or a multiple of the
// back buffer's (the render-scale setting).
bool readDrawnFrame(Image& out);
bool writePng(const Image& image, const std::string& path);
// readBackBuffer then writePng.
bool saveScreenshot(const std::string& path);

}  // namespace velmora
