#include "GlBackBuffer.h"

#include <epoxy/gl.h>

#include <algorithm>
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

bool attachColour(GLuint framebuffer, GLuint colour, GLenum format, UINT width, UINT height) {
    glBindRenderbuffer(GL_RENDERBUFFER, colour);
    glRenderbufferStorage(GL_RENDERBUFFER, format, GLsizei(width), GLsizei(height));
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

}  // namespace

GlBackBuffer::WindowFramebuffer GlBackBuffer::queryWindowFramebuffer() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    WindowFramebuffer window;
#ifdef __EMSCRIPTEN__
    const GLenum colour = GL_BACK;
#else
    const GLenum colour = GL_BACK_LEFT;
#endif
    window.alphaBits = attachmentBits(colour, GL_FRAMEBUFFER_ATTACHMENT_ALPHA_SIZE);
    window.depthBits = attachmentBits(GL_DEPTH, GL_FRAMEBUFFER_ATTACHMENT_DEPTH_SIZE);
    window.stencilBits = attachmentBits(GL_STENCIL, GL_FRAMEBUFFER_ATTACHMENT_STENCIL_SIZE);
    return window;
}

GlBackBuffer* GlBackBuffer::create(UINT width, UINT height, bool hasAlpha, bool hasDepthStencil,
                                   const WindowFramebuffer& window) {
    // A back buffer without alpha reads as opaque to blending (D3DBLEND_DESTALPHA is 1), so
    // neither framebuffer may keep an alpha channel for it.
    const bool windowFits = (window.alphaBits > 0) == hasAlpha &&
                            (!hasDepthStencil || (window.depthBits >= 24 && window.stencilBits >= 8));
    auto* buffer = new GlBackBuffer(width, height, windowFits);
    glGenFramebuffers(1, &buffer->framebuffer_);
    glGenRenderbuffers(1, &buffer->colour_);
    glGenRenderbuffers(1, &buffer->depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, buffer->depthStencil_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, GLsizei(width), GLsizei(height));
    glBindFramebuffer(GL_FRAMEBUFFER, buffer->framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, buffer->depthStencil_);
    // GL need not render into RGB8; RGBA8 it must.
    const bool complete = (!hasAlpha && attachColour(buffer->framebuffer_, buffer->colour_, GL_RGB8, width, height)) ||
                          attachColour(buffer->framebuffer_, buffer->colour_, GL_RGBA8, width, height);
    if (!complete) {
        delete buffer;
        return nullptr;
    }
    return buffer;
}

GlBackBuffer::~GlBackBuffer() {
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(1, &colour_);
    glDeleteRenderbuffers(1, &depthStencil_);
}

void GlBackBuffer::bindForDrawing(int windowWidth, int windowHeight) {
    if (frameStarted_) return;
    intoWindow_ = windowFits_ && windowWidth == int(width_) && windowHeight == int(height_);
    frameStarted_ = true;
    glBindFramebuffer(GL_FRAMEBUFFER, intoWindow_ ? 0 : framebuffer_);
}

void GlBackBuffer::finishFrame(int windowWidth, int windowHeight) {
    if (!intoWindow_ && windowWidth > 0 && windowHeight > 0) blitToWindow(windowWidth, windowHeight);
    frameStarted_ = false;
}

void GlBackBuffer::blitToWindow(int windowWidth, int windowHeight) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    // The largest rectangle of the image's aspect that fits, centred.
    const double scale = std::min(double(windowWidth) / width_, double(windowHeight) / height_);
    const int shownWidth = int(width_ * scale + 0.5);
    const int shownHeight = int(height_ * scale + 0.5);
    const int x = (windowWidth - shownWidth) / 2;
    const int y = (windowHeight - shownHeight) / 2;
    if (shownWidth != windowWidth || shownHeight != windowHeight) {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glBlitFramebuffer(0, 0, GLint(width_), GLint(height_), x, y, x + shownWidth, y + shownHeight,
                      GL_COLOR_BUFFER_BIT, scale == 1.0 ? GL_NEAREST : GL_LINEAR);
}

void GlBackBuffer::read(std::vector<BYTE>& rgba) {
    const size_t rowBytes = size_t(width_) * 4;
    std::vector<BYTE> bottomUp(rowBytes * height_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, intoWindow_ ? 0 : framebuffer_);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, GLsizei(width_), GLsizei(height_), GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    rgba.resize(bottomUp.size());
    for (UINT row = 0; row < height_; ++row)
        std::memcpy(rgba.data() + row * rowBytes, bottomUp.data() + (height_ - 1 - row) * rowBytes, rowBytes);
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
}

}  // namespace velmora::d3d9
