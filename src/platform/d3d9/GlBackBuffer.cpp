#include "GlBackBuffer.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>

namespace velmora::d3d9 {

GlBackBuffer* GlBackBuffer::create(UINT width, UINT height) {
    auto* buffer = new GlBackBuffer(width, height);
    glGenFramebuffers(1, &buffer->framebuffer_);
    glGenRenderbuffers(1, &buffer->colour_);
    glGenRenderbuffers(1, &buffer->depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, buffer->colour_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, GLsizei(width), GLsizei(height));
    glBindRenderbuffer(GL_RENDERBUFFER, buffer->depthStencil_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, GLsizei(width), GLsizei(height));
    glBindFramebuffer(GL_FRAMEBUFFER, buffer->framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffer->colour_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, buffer->depthStencil_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
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

void GlBackBuffer::bindForDrawing() { glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_); }

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
    bindForDrawing();
}

void GlBackBuffer::read(std::vector<BYTE>& rgba) {
    const size_t rowBytes = size_t(width_) * 4;
    std::vector<BYTE> bottomUp(rowBytes * height_);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer_);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, GLsizei(width_), GLsizei(height_), GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    rgba.resize(bottomUp.size());
    for (UINT row = 0; row < height_; ++row)
        std::memcpy(rgba.data() + row * rowBytes, bottomUp.data() + (height_ - 1 - row) * rowBytes, rowBytes);
    for (size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
}

}  // namespace velmora::d3d9
