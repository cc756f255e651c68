// The device's back buffer: an offscreen framebuffer of the back-buffer size with a
// depth-stencil buffer. Present copies it to the window, scaled to fit and letterboxed;
// its content stays until the next draw, so draws made after EndScene still reach the
// image the next Present shows.
#pragma once

#include <d3d9.h>

#include <vector>

namespace velmora::d3d9 {

class GlBackBuffer {
public:
    // Null when the framebuffer cannot be completed.
    static GlBackBuffer* create(UINT width, UINT height);
    ~GlBackBuffer();
    GlBackBuffer(const GlBackBuffer&) = delete;
    GlBackBuffer& operator=(const GlBackBuffer&) = delete;

    void bindForDrawing();
    // Copies the image into the window's framebuffer of the given size, keeping the aspect
    // ratio with black bars, and binds the back buffer again.
    void blitToWindow(int windowWidth, int windowHeight);
    // RGBA rows, top row first; alpha is 255 (the back buffer has no alpha channel).
    void read(std::vector<BYTE>& rgba);

    UINT width() const { return width_; }
    UINT height() const { return height_; }

private:
    GlBackBuffer(UINT width, UINT height) : width_(width), height_(height) {}

    UINT width_;
    UINT height_;
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depthStencil_ = 0;
};

}  // namespace velmora::d3d9
