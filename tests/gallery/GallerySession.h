// The game's own window, device and model shader on the real OpenGL renderer, made once
// for the whole gallery run: Application::create in the game's run directory, so that
// every file is read the way the game reads it. SDL's offscreen driver is used, so no X
// server is needed.
#pragma once

#include <string>

namespace gallery {

class GallerySession {
public:
    // True when the device and the effect exist; tests skip themselves otherwise.
    static bool ready();
    // Where a picture of the gallery goes: <build>/gallery/<name>.png.
    static std::string picturePath(const std::string& name);
};

// Skips the calling test when there is no device to draw with.
#define GALLERY_REQUIRE_DEVICE() \
    if (!::gallery::GallerySession::ready()) GTEST_SKIP() << "no OpenGL 3.3 device"

}  // namespace gallery
