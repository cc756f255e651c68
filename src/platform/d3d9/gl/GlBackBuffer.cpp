#include "GlBackBuffer.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace velmora::d3d9 {

namespace {

// Bits of one buffer of the bound framebuffer; 0 when it has no such buffer.
int attachmentBits(GLenum attachment, GLenum bitsQuery) {
    GLint type = GL_NONE;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_TYPE, &type);
    if (type == GL_NONE) return 0;
    GLint bits = 0;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, bitsQuery, &bits);
    return bits;
}

void storeRenderbuffer(GLuint renderbuffer, int samples, GLenum format, int width, int height) {
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    if (samples > 0)
        glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
    else
        glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
}

bool complete(GLuint framebuffer) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

// Blits, unlike draws, must reach every pixel and channel.
void prepareBlit() {
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

}  // namespace

GlBackBuffer::WindowFramebuffer GlBackBuffer::queryWindowFramebuffer() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    WindowFramebuffer window;
    window.alphaBits = attachmentBits(GL_BACK_LEFT, GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE);
    window.depthBits = attachmentBits(GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE);
    window.stencilBits = attachmentBits(GL_STENCIL, GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE);
    return window;
}

GlBackBuffer* GlBackBuffer::create(UINT width, UINT height, bool hasAlpha, bool hasDepthStencil,
                                   const WindowFramebuffer& window, const Quality& quality) {
    // A back buffer without alpha reads as opaque to blending (D3DBLEND_DESTALPHA is 1), so
    // neither framebuffer may keep an alpha channel for it.
    const bool windowFits = (window.alphaBits > 0) == hasAlpha &&
                            (!hasDepthStencil || (window.depthBits >= 24 && window.stencilBits >= 8));
    GLint maxSamples = 0;
    glGetIntegerv(GL_MAX_SAMPLES, &maxSamples);
    const int samples = std::min(std::max(quality.samples, 0), int(maxSamples));
    auto* buffer = new GlBackBuffer(width, height, windowFits, samples);
    buffer->renderScale_ = std::max(quality.renderScale, 0);
    GLint maxRenderbuffer = 0, maxTexture = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxRenderbuffer);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
    buffer->maxSize_ = std::min(maxRenderbuffer, maxTexture);
    glGenFramebuffers(1, &buffer->framebuffer_);
    glGenRenderbuffers(1, &buffer->colour_);
    glGenRenderbuffers(1, &buffer->depthStencil_);
    if (samples > 0) {
        glGenFramebuffers(1, &buffer->resolveFramebuffer_);
        glGenRenderbuffers(1, &buffer->resolveColour_);
    }
    // GL need not render into RGB8; RGBA8 it must.
    const bool made = (!hasAlpha && buffer->allocate(GL_RGB8, int(width), int(height))) ||
                      buffer->allocate(GL_RGBA8, int(width), int(height));
    if (!made) {
        delete buffer;
        return nullptr;
    }
    return buffer;
}

GlBackBuffer::~GlBackBuffer() {
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteRenderbuffers(1, &depthStencil_);
    if (samples_ > 0) {
        glDeleteFramebuffers(1, &resolveFramebuffer_);
        glDeleteRenderbuffers(1, &resolveColour_);
    }
}

bool GlBackBuffer::allocate(unsigned colourFormat, int width, int height) {
    // A refused storage is only an error: the renderbuffer keeps its old size and the
    // framebuffer stays complete. Errors left by earlier calls must not count.
    for (int kinds = 0; kinds < 8 && glGetError() != GL_NO_ERROR; ++kinds) {
    }
    storeRenderbuffer(depthStencil_, samples_, GL_DEPTH24_STENCIL8, width, height);
    storeRenderbuffer(colour_, samples_, colourFormat, width, height);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_);
    bool ok = glGetError() == GL_NO_ERROR && complete(framebuffer_);
    if (ok && samples_ > 0) {
        storeRenderbuffer(resolveColour_, 0, colourFormat, width, height);
        glBindFramebuffer(GL_FRAMEBUFFER, resolveFramebuffer_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveColour_);
        ok = glGetError() == GL_NO_ERROR && complete(resolveFramebuffer_);
    }
    if (!ok) return false;
    colourFormat_ = colourFormat;
    allocatedWidth_ = width;
    allocatedHeight_ = height;
    return true;
}

void GlBackBuffer::bindForDrawing(int windowWidth, int windowHeight) {
    if (frameStarted_) return;
    int width = int(width_), height = int(height_);
    if (renderScale_ > 0) {
        width *= renderScale_;
        height *= renderScale_;
    } else if (windowWidth > 0 && windowHeight > 0) {
        const double fit = std::min(double(windowWidth) / width_, double(windowHeight) / height_);
        width = std::max(1, int(width_ * fit + 0.5));
        height = std::max(1, int(height_ * fit + 0.5));
    }
    // Beyond what GL can hold (a high render scale on a small GPU): the largest size of the
    // same shape that fits, said once.
    if (std::max(width, height) > maxSize_) {
        const double fit = double(maxSize_) / std::max(width, height);
        const int fittedWidth = std::max(1, int(width * fit)), fittedHeight = std::max(1, int(height * fit));
        if (!toldTooLarge_)
            std::fprintf(stderr, "velmora: %d x %d pixels is more than this GPU can draw (%d); drawing at %d x %d\n",
                         width, height, maxSize_, fittedWidth, fittedHeight);
        toldTooLarge_ = true;
        width = fittedWidth;
        height = fittedHeight;
    }
    intoWindow_ = windowFits_ && samples_ == 0 && windowWidth == width && windowHeight == height;
    // A size GL refuses (larger than its renderbuffers) falls back to the back buffer's own.
    if (!intoWindow_ && (width != allocatedWidth_ || height != allocatedHeight_) &&
        !allocate(colourFormat_, width, height)) {
        width = int(width_);
        height = int(height_);
        allocate(colourFormat_, width, height);
    }
    drawnWidth_ = width;
    drawnHeight_ = height;
    frameStarted_ = true;
    glBindFramebuffer(GL_FRAMEBUFFER, intoWindow_ ? 0 : framebuffer_);
}

void GlBackBuffer::drawnRect(LONG left, LONG top, LONG right, LONG bottom, int out[4]) const {
    const double sx = double(drawnWidth_) / width_, sy = double(drawnHeight_) / height_;
    const int x0 = int(std::lround(left * sx)), x1 = int(std::lround(right * sx));
    const int y0 = int(std::lround(top * sy)), y1 = int(std::lround(bottom * sy));
    out[0] = x0;
    out[1] = drawnHeight_ - y1;
    out[2] = x1 - x0;
    out[3] = y1 - y0;
}

unsigned GlBackBuffer::resolvedFramebuffer() {
    if (intoWindow_) return 0;
    if (samples_ == 0) return framebuffer_;
    prepareBlit();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFramebuffer_);
    glBlitFramebuffer(0, 0, drawnWidth_, drawnHeight_, 0, 0, drawnWidth_, drawnHeight_, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    return resolveFramebuffer_;
}

void GlBackBuffer::finishFrame(int windowWidth, int windowHeight) {
    frameStarted_ = false;
    if (intoWindow_ || windowWidth <= 0 || windowHeight <= 0) return;
    const GLuint source = resolvedFramebuffer();
    prepareBlit();
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    // The largest rectangle of the image's aspect that fits, centred.
    const double scale = std::min(double(windowWidth) / drawnWidth_, double(windowHeight) / drawnHeight_);
    const int shownWidth = int(drawnWidth_ * scale + 0.5);
    const int shownHeight = int(drawnHeight_ * scale + 0.5);
    const int x = (windowWidth - shownWidth) / 2;
    const int y = (windowHeight - shownHeight) / 2;
    if (shownWidth != windowWidth || shownHeight != windowHeight) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
    const bool sameSize = shownWidth == drawnWidth_ && shownHeight == drawnHeight_;
    glBlitFramebuffer(0, 0, drawnWidth_, drawnHeight_, x, y, x + shownWidth, y + shownHeight, GL_COLOR_BUFFER_BIT,
                      sameSize ? GL_NEAREST : GL_LINEAR);
}

void GlBackBuffer::readRows(unsigned framebuffer, int width, int height, std::vector<BYTE>& rgba) {
    const size_t rowBytes = size_t(width) * 4;
    std::vector<BYTE> bottomUp(rowBytes * height);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    rgba.resize(bottomUp.size());
    for (int row = 0; row < height; ++row)
        std::memcpy(rgba.data() + row * rowBytes, bottomUp.data() + (height - 1 - row) * rowBytes, rowBytes);
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
}

void GlBackBuffer::read(std::vector<BYTE>& rgba) {
    const GLuint source = resolvedFramebuffer();
    if (drawnWidth_ == int(width_) && drawnHeight_ == int(height_)) {
        readRows(source, int(width_), int(height_), rgba);
    } else {
        // Scaled down by GL into a framebuffer of the back buffer's size, made for the read.
        GLuint small = 0, colour = 0;
        glGenFramebuffers(1, &small);
        glGenRenderbuffers(1, &colour);
        storeRenderbuffer(colour, 0, GL_RGBA8, int(width_), int(height_));
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, small);
        glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
        prepareBlit();
        glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
        glBlitFramebuffer(0, 0, drawnWidth_, drawnHeight_, 0, 0, GLint(width_), GLint(height_), GL_COLOR_BUFFER_BIT,
                          GL_LINEAR);
        readRows(small, int(width_), int(height_), rgba);
        glDeleteFramebuffers(1, &small);
        glDeleteRenderbuffers(1, &colour);
    }
    // Draws that follow in this frame go where the frame is drawn.
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, intoWindow_ ? 0 : framebuffer_);
}

void GlBackBuffer::readDrawn(std::vector<BYTE>& rgba, UINT& width, UINT& height) {
    readRows(resolvedFramebuffer(), drawnWidth_, drawnHeight_, rgba);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, intoWindow_ ? 0 : framebuffer_);
    width = UINT(drawnWidth_);
    height = UINT(drawnHeight_);
}

}  // namespace velmora::d3d9
