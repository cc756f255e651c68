// The device's back buffer. A frame is drawn straight into the window's own framebuffer
// when that has the back buffer's size, depth-stencil bits and alpha channel (or lack of
// one): Present then only swaps. Otherwise it goes to an offscreen framebuffer of the
// back-buffer size, which Present copies into the window, scaled to fit and letterboxed.
// The choice is made at the first draw or clear after each Present, so a window that is
// resized between frames is still served. Either way the image stays until the next
// draw, so draws made after EndScene still reach the image the next Present shows.
#pragma once

#include <d3d9.h>

#include <vector>

namespace velmora::d3d9 {

class GlBackBuffer {
public:
    // What the window's own framebuffer holds besides its colour.
    struct WindowFramebuffer {
        int alphaBits = 0;
        int depthBits = 0;
        int stencilBits = 0;
    };

    // The window's framebuffer as the current context sees it.
    static WindowFramebuffer queryWindowFramebuffer();

    // Null when the offscreen framebuffer cannot be completed.
    static GlBackBuffer* create(UINT width, UINT height, bool hasAlpha, bool hasDepthStencil,
                                const WindowFramebuffer& window);
    ~GlBackBuffer();
    GlBackBuffer(const GlBackBuffer&) = delete;
    GlBackBuffer& operator=(const GlBackBuffer&) = delete;

    // Binds the framebuffer the frame is drawn into, choosing it at the first call after a
    // present from the window's current size.
    void bindForDrawing(int windowWidth, int windowHeight);
    bool frameStarted() const { return frameStarted_; }
    // Shows the frame in the window's framebuffer (a copy when it was drawn offscreen); the
    // next frame chooses its framebuffer again. The caller swaps.
    void finishFrame(int windowWidth, int windowHeight);
    // RGBA rows of the last frame drawn, top row first; alpha is 255.
    void read(std::vector<BYTE>& rgba);

    UINT width() const { return width_; }
    UINT height() const { return height_; }

private:
    GlBackBuffer(UINT width, UINT height, bool windowFits) : width_(width), height_(height), windowFits_(windowFits) {}

    // Copies the offscreen image into the window's framebuffer of the given size, keeping
    // the aspect ratio with black bars.
    void blitToWindow(int windowWidth, int windowHeight);

    UINT width_;
    UINT height_;
    bool windowFits_;
    bool frameStarted_ = false;
    bool intoWindow_ = false;
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depthStencil_ = 0;
};

}  // namespace velmora::d3d9
