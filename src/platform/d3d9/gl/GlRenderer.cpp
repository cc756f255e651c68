#include "GlRenderer.h"

#include "DeviceInternals.h"
#include "FixedFunctionProgram.h"
#include "GlBackBuffer.h"
#include "GlContext.h"
#include "GlDialect.h"
#include "GlResources.h"
#include "GlStateMapping.h"
#include "GlslPrelude.h"
#include "IndexBuffer.h"
#include "Texture.h"
#include "VertexBuffer.h"
#include "menu/gl/GlMenuScreen.h"
#include "win32/WindowSystem.h"
#include "velmora/Settings.h"

#include <epoxy/gl.h>

#include <algorithm>

namespace velmora::d3d9 {

namespace {

enum Attribute : GLuint { kPosition = 0, kNormal = 1, kDiffuse = 2, kTexCoord = 3 };

// D3DCOLOR is stored B, G, R, A; WebGL 2 reads it as four bytes, which its shader prelude
// puts in order, and desktop GL reads it as GL_BGRA.
const void* byteOffset(size_t offset) { return reinterpret_cast<const void*>(offset); }

}  // namespace

bool GlRenderer::supported() { return GlContext::supported(); }

std::unique_ptr<GlRenderer> GlRenderer::create(const D3DPRESENT_PARAMETERS& params) {
    SDL_Window* window = win32::sdlWindow(params.hDeviceWindow);
    if (!window) return nullptr;
    if (!params.Windowed && !win32::setFullScreen(params.hDeviceWindow, true)) return nullptr;

    std::unique_ptr<GlRenderer> renderer(new GlRenderer());
    renderer->context_.reset(GlContext::create(window));
    if (!renderer->context_) return nullptr;
    // The player's setting, not the game's D3DPRESENT_INTERVAL_IMMEDIATE: the game's loop
    // never presents faster than its steps, so waiting for the refresh shows each step once.
    SDL_GL_SetSwapInterval(settings().vsync ? 1 : 0);
    renderer->hasDepthBuffer_ = params.EnableAutoDepthStencil != FALSE;
    renderer->params_ = params;
    renderer->fixedFunction_ = std::make_unique<FixedFunctionPrograms>();
    if (!renderer->makeBackBuffer()) return nullptr;

    glGenVertexArrays(1, &renderer->vertexArray_);
    glBindVertexArray(renderer->vertexArray_);
    glGenBuffers(1, &renderer->userVertices_);
    glGenSamplers(GLsizei(renderer->samplers_.size()), renderer->samplers_.data());
    for (DWORD stage = 0; stage < kTextureStageCount; ++stage) glBindSampler(stage, renderer->samplers_[stage]);
    renderer->beginFrame();
    // Direct3D's back buffer starts black.
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return renderer;
}

bool GlRenderer::makeBackBuffer() {
    GlBackBuffer::Quality quality;
    quality.renderScale = renderScale_ = settings().renderScale;
    quality.samples = samples_ = settings().multisample;
    backBuffer_.reset(GlBackBuffer::create(params_.BackBufferWidth, params_.BackBufferHeight,
                                           params_.BackBufferFormat == D3DFMT_A8R8G8B8, hasDepthBuffer_,
                                           GlBackBuffer::queryWindowFramebuffer(), quality));
    return backBuffer_ != nullptr;
}

GlRenderer::~GlRenderer() {
    if (!context_) return;
    context_->makeCurrent();
    menuScreen_.reset();
    fixedFunction_.reset();
    backBuffer_.reset();
    glDeleteSamplers(GLsizei(samplers_.size()), samplers_.data());
    glDeleteBuffers(1, &userVertices_);
    glDeleteVertexArrays(1, &vertexArray_);
}

void GlRenderer::makeCurrent() { context_->makeCurrent(); }

float GlRenderer::frameScale() const { return backBuffer_->scale(); }

void GlRenderer::beginFrame() {
    if (backBuffer_->frameStarted()) return;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(context_->window(), &width, &height);
    backBuffer_->bindForDrawing(width, height);
}

// With the scissor test on, nothing outside its rectangle changes: an empty one leaves a
// clear or a draw nothing to do, and its GL work is skipped.
bool GlRenderer::scissoredAway(const DeviceState& state) {
    const RECT& r = state.scissorRect;
    return state.renderState(D3DRS_SCISSORTESTENABLE) != FALSE && (r.left >= r.right || r.top >= r.bottom);
}

void GlRenderer::clear(const ClearCall& call) {
    if (scissoredAway(call.state)) return;
    makeCurrent();
    beginFrame();
    renderStatesKnown_ = false;
    const D3DVIEWPORT9& vp = call.state.viewport;
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFFFFFFFF);
    glClearColor(((call.color >> 16) & 0xFF) / 255.0f, ((call.color >> 8) & 0xFF) / 255.0f,
                 (call.color & 0xFF) / 255.0f, (call.color >> 24) / 255.0f);
    glClearDepth(call.z);
    glClearStencil(GLint(call.stencil));
    GLbitfield mask = 0;
    if (call.flags & D3DCLEAR_TARGET) mask |= GL_COLOR_BUFFER_BIT;
    if (call.flags & D3DCLEAR_ZBUFFER) mask |= GL_DEPTH_BUFFER_BIT;
    if (call.flags & D3DCLEAR_STENCIL) mask |= GL_STENCIL_BUFFER_BIT;

    // Each rectangle (or the whole viewport) clipped to the viewport and the scissor
    // rectangle when its test is on, in GL's y-up rows.
    D3DRECT whole = {LONG(vp.X), LONG(vp.Y), LONG(vp.X + vp.Width), LONG(vp.Y + vp.Height)};
    if (call.state.renderState(D3DRS_SCISSORTESTENABLE) != FALSE) {
        const RECT& s = call.state.scissorRect;
        whole = {std::max(whole.x1, s.left), std::max(whole.y1, s.top), std::min(whole.x2, s.right),
                 std::min(whole.y2, s.bottom)};
    }
    const DWORD count = call.rects ? call.rectCount : 1;
    glEnable(GL_SCISSOR_TEST);
    for (DWORD i = 0; i < count; ++i) {
        const D3DRECT& r = call.rects ? call.rects[i] : whole;
        const LONG left = std::max(r.x1, whole.x1), right = std::min(r.x2, whole.x2);
        const LONG top = std::max(r.y1, whole.y1), bottom = std::min(r.y2, whole.y2);
        if (left >= right || top >= bottom) continue;
        int drawn[4];
        backBuffer_->drawnRect(left, top, right, bottom, drawn);
        glScissor(drawn[0], drawn[1], drawn[2], drawn[3]);
        glClear(mask);
    }
    glDisable(GL_SCISSOR_TEST);
}

void GlRenderer::bindTextures(const DeviceState& state) {
    for (DWORD stage = 0; stage < kTextureStageCount; ++stage) {
        Texture* texture = state.textures[stage] ? asTexture(state.textures[stage]) : nullptr;
        if (!texture && !unitHoldsTexture_[stage]) continue;
        glActiveTexture(GL_TEXTURE0 + stage);
        unitHoldsTexture_[stage] = texture != nullptr;
        if (!texture) {
            glBindTexture(GL_TEXTURE_2D, 0);
            continue;
        }
        glTextureFor(*texture, context_->id());
        if (!samplerSet_[stage] || samplerStatesSet_[stage] != state.samplerStates[stage]) {
            applySamplerStates(samplers_[stage], state, stage);
            samplerStatesSet_[stage] = state.samplerStates[stage];
            samplerSet_[stage] = true;
        }
    }
    glActiveTexture(GL_TEXTURE0);
}

void GlRenderer::bindVertices(const DrawCall& call) {
    size_t base = 0;
    if (call.source == DrawCall::Source::User) {
        glBindBuffer(GL_ARRAY_BUFFER, userVertices_);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(size_t(call.vertexCount) * call.stride), call.userVertices,
                     GL_STREAM_DRAW);
    } else {
        glBufferFor(call.vertexBuffer->storage(), GL_ARRAY_BUFFER, context_->id());
        base = call.streamOffset;
    }
    if (gldialect::kAttributesStartAtBaseVertex && call.source == DrawCall::Source::Indexed)
        base += size_t(call.baseVertexIndex) * call.stride;
    const VertexFormat& f = call.format;
    const GLsizei stride = GLsizei(call.stride);
    glEnableVertexAttribArray(kPosition);
    glVertexAttribPointer(kPosition, 3, GL_FLOAT, GL_FALSE, stride, byteOffset(base));
    if (f.normal >= 0) {
        glEnableVertexAttribArray(kNormal);
        glVertexAttribPointer(kNormal, 3, GL_FLOAT, GL_FALSE, stride, byteOffset(base + f.normal));
    } else {
        glDisableVertexAttribArray(kNormal);
        glVertexAttrib3f(kNormal, 0.0f, 0.0f, 0.0f);
    }
    if (f.diffuse >= 0) {
        glEnableVertexAttribArray(kDiffuse);
        glVertexAttribPointer(kDiffuse, gldialect::kDiffuseComponents, GL_UNSIGNED_BYTE, GL_TRUE, stride, byteOffset(base + f.diffuse));
    } else {
        glDisableVertexAttribArray(kDiffuse);
        glVertexAttrib4f(kDiffuse, 1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (f.texCoord >= 0) {
        glEnableVertexAttribArray(kTexCoord);
        glVertexAttribPointer(kTexCoord, GLint(std::min(f.texCoordComponents, 2u)), GL_FLOAT, GL_FALSE, stride,
                              byteOffset(base + f.texCoord));
    } else {
        glDisableVertexAttribArray(kTexCoord);
        glVertexAttrib2f(kTexCoord, 0.0f, 0.0f);
    }
}

void GlRenderer::setPreludeUniforms(unsigned program, const DeviceState& state) {
    const D3DVIEWPORT9& vp = state.viewport;
    glUniform2f(glGetUniformLocation(program, kPixelOffsetUniform), 1.0f / float(vp.Width), 1.0f / float(vp.Height));
    glUniform1f(glGetUniformLocation(program, kAlphaRefUniform), float(state.renderState(D3DRS_ALPHAREF) & 0xFF));
}

void GlRenderer::draw(const DrawCall& call) {
    const DeviceState& state = call.state;
    if (scissoredAway(state)) return;
    makeCurrent();
    beginFrame();
    if (!renderStatesKnown_ || renderStatesSet_ != state.renderStates) {
        applyRenderStates(state, hasDepthBuffer_);
        renderStatesSet_ = state.renderStates;
        renderStatesKnown_ = true;
    }
    const D3DVIEWPORT9& vp = state.viewport;
    int viewport[4];
    backBuffer_->drawnRect(LONG(vp.X), LONG(vp.Y), LONG(vp.X + vp.Width), LONG(vp.Y + vp.Height), viewport);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    glDepthRange(vp.MinZ, vp.MaxZ);
    // The test itself is a render state, applied with the others.
    if (state.renderState(D3DRS_SCISSORTESTENABLE) != FALSE) {
        const RECT& r = state.scissorRect;
        int scissor[4];
        backBuffer_->drawnRect(r.left, r.top, r.right, r.bottom, scissor);
        glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
    }
    bindTextures(state);

    const D3DCMPFUNC alphaFunc = state.renderState(D3DRS_ALPHATESTENABLE) != FALSE
                                     ? D3DCMPFUNC(state.renderState(D3DRS_ALPHAFUNC))
                                     : D3DCMP_ALWAYS;
    unsigned program;
    if (call.shader) {
        program = call.shader->glProgram(alphaFunc);
        if (!program) return;
        glUseProgram(program);
        call.shader->uploadParameters();
    } else {
        FixedFunctionProgram* fixed = fixedFunction_->select(state, state.textures[0] != nullptr, alphaFunc, backBuffer_->scale());
        if (!fixed) return;
        program = fixed->program();
        fixed->use(state, call.format.diffuse >= 0, backBuffer_->scale());
    }
    setPreludeUniforms(program, state);

    glBindVertexArray(vertexArray_);
    bindVertices(call);
    const GLenum mode = glPrimitive(call.type);
    if (call.source == DrawCall::Source::Indexed) {
        IndexBuffer& indices = *call.indexBuffer;
        glBufferFor(indices.storage(), GL_ELEMENT_ARRAY_BUFFER, context_->id());
        const GLenum type = indices.indexSize() == 4 ? GL_UNSIGNED_INT : GL_UNSIGNED_SHORT;
        const void* first = byteOffset(size_t(call.startIndex) * indices.indexSize());
        gldialect::drawElements(mode, GLsizei(call.vertexCount), type, first, call.baseVertexIndex);
    } else {
        glDrawArrays(mode, call.source == DrawCall::Source::Stream ? GLint(call.startVertex) : 0,
                     GLsizei(call.vertexCount));
    }
}

void GlRenderer::finishFrame() {
    makeCurrent();
    renderStatesKnown_ = false;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(context_->window(), &width, &height);
    backBuffer_->finishFrame(width, height);
}

void GlRenderer::present() {
    context_->swap();
    gldialect::afterSwap();
}

menu::MenuScreen* GlRenderer::menuScreen() {
    if (!menuScreen_) menuScreen_ = std::make_unique<menu::GlMenuScreen>(*context_);
    return menuScreen_.get();
}

void GlRenderer::menuClosed() {
    makeCurrent();
    SDL_GL_SetSwapInterval(settings().vsync ? 1 : 0);
    const Settings& now = settings();
    // The menu only offers values GL takes; should one fail, the old buffer stays.
    if (now.renderScale != renderScale_ || now.multisample != samples_) {
        std::unique_ptr<GlBackBuffer> old = std::move(backBuffer_);
        if (!makeBackBuffer()) backBuffer_ = std::move(old);
    }
    glBindVertexArray(vertexArray_);
    // The menu drew with GL state of its own: what this renderer last gave GL is unknown.
    for (DWORD stage = 0; stage < kTextureStageCount; ++stage) glBindSampler(stage, samplers_[stage]);
    unitHoldsTexture_.fill(true);
    samplerSet_.fill(false);
    renderStatesKnown_ = false;
}

bool GlRenderer::readBack(std::vector<BYTE>& rgba, UINT& width, UINT& height) {
    makeCurrent();
    renderStatesKnown_ = false;
    backBuffer_->read(rgba);
    width = backBuffer_->width();
    height = backBuffer_->height();
    return true;
}

bool GlRenderer::readDrawn(std::vector<BYTE>& rgba, UINT& width, UINT& height) {
    makeCurrent();
    renderStatesKnown_ = false;
    backBuffer_->readDrawn(rgba, width, height);
    return true;
}

}  // namespace velmora::d3d9
