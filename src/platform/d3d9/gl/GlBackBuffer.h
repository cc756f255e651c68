// The device's back buffer. The game always sees its own size (1280 x 720 for the
// game); the frame is drawn at the size the window shows it, so that a large or
// high-density window gets a sharp picture rather than a stretched small one: the largest
// rectangle of the back buffer's shape that fits the window's drawable, or a fixed
// multiple of the back-buffer size (the render-scale setting). Callers map viewports and
// rectangles through drawnRect().
//
// A frame is drawn straight into the window's own framebuffer when that has the drawn
// size, the depth-stencil bits and alpha channel (or lack of one), and no multisampling
// is asked for: Present then only swaps. Otherwise it goes to an offscreen framebuffer
// (multisampled when asked, resolved at Present), which Present copies into the window,
// scaled to fit and letterboxed. The choice is made at the first draw or clear after each
// Present, so a window that is resized between frames is served at once. Either way the
// image stays until the next draw, so draws made after EndScene still reach the image the
// next Present shows. A size beyond the GPU's limits is drawn at the largest of its shape
// that fits.
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

    // How the frame is drawn: renderScale 0 fits the window, n draws n times the back
    // buffer's size; samples 0 is no multisampling, more is capped at what GL offers.
    struct Quality {
        int renderScale = 0;
        int samples = 0;
    };

    // The window's framebuffer as the current context sees it.
    static WindowFramebuffer queryWindowFramebuffer();

    // Null when the offscreen framebuffer cannot be completed.
    static GlBackBuffer* create(UINT width, UINT height, bool hasAlpha, bool hasDepthStencil,
                                const WindowFramebuffer& window, const Quality& quality);
    ~GlBackBuffer();
    GlBackBuffer(const GlBackBuffer&) = delete;
    GlBackBuffer& operator=(const GlBackBuffer&) = delete;

    // Binds the framebuffer the frame is drawn into, choosing it and its size at the first
    // call after a present from the window's current drawable size.
    void bindForDrawing(int windowWidth, int windowHeight);
    bool frameStarted() const { return frameStarted_; }
    // Shows the frame in the window's framebuffer (a copy when it was drawn offscreen); the
    // next frame chooses its framebuffer again. The caller swaps.
    void finishFrame(int windowWidth, int windowHeight);
    // RGBA rows of the last frame at the back buffer's size (scaled down when it was
    // drawn larger), top row first; alpha is 255.
    void read(std::vector<BYTE>& rgba);
    // The same at the size the frame was drawn.
    void readDrawn(std::vector<BYTE>& rgba, UINT& width, UINT& height);

    UINT width() const { return width_; }
    UINT height() const { return height_; }
    int samples() const { return samples_; }
    // Drawn pixels per back-buffer pixel in the current frame.
    float scale() const { return float(drawnWidth_) / float(width_); }

    // A back-buffer rectangle (y down) as x, y, width, height in the drawn framebuffer
    // (y up), edges rounded to the nearest drawn pixel.
    void drawnRect(LONG left, LONG top, LONG right, LONG bottom, int out[4]) const;

private:
    GlBackBuffer(UINT width, UINT height, bool windowFits, int samples)
        : width_(width), height_(height), windowFits_(windowFits), samples_(samples) {}

    // Gives the offscreen framebuffers the drawn size; false when GL refuses it.
    bool allocate(unsigned colourFormat, int width, int height);
    // The framebuffer holding the finished single-sample image, resolved if need be.
    unsigned resolvedFramebuffer();
    // Reads a framebuffer's rows of the given size, top row first, alpha 255.
    static void readRows(unsigned framebuffer, int width, int height, std::vector<BYTE>& rgba);

    UINT width_;
    UINT height_;
    bool windowFits_;
    int samples_;
    int renderScale_ = 0;
    // The largest width or height GL draws into.
    int maxSize_ = 0;
    bool toldTooLarge_ = false;
    unsigned colourFormat_ = 0;
    bool frameStarted_ = false;
    bool intoWindow_ = false;
    int drawnWidth_ = 0;
    int drawnHeight_ = 0;
    int allocatedWidth_ = 0;
    int allocatedHeight_ = 0;
    unsigned framebuffer_ = 0;
    unsigned colour_ = 0;
    unsigned depthStencil_ = 0;
    // Multisampled frames are resolved into this one.
    unsigned resolveFramebuffer_ = 0;
    unsigned resolveColour_ = 0;
};

}  // namespace velmora::d3d9
