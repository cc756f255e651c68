// What WebGL 2 in a browser's page (OpenGL ES 3.0, as SDL offers it) does differently
// from the desktops' OpenGL 3.3 core profile, in one place: the GL code and the window's
// context set-up ask these instead of which platform they are built for.
#pragma once

#include <SDL.h>
#include <epoxy/gl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#ifdef __EMSCRIPTEN__
#include "d3d9/web/NextPaint.h"
#endif

namespace velmora::d3d9::gldialect {

enum class Fill { Solid, Lines, Points };

#ifdef __EMSCRIPTEN__

// GLSL ES 3.00 has no default float precision in the fragment stage.
constexpr const char* kGlslVersion = "#version 300 es\nprecision highp float;\nprecision highp int;\n";
// The context asked of SDL: WebGL 2. The page's canvas is the one window there is, and
// the build asks for WebGL 2 at link time, so there is nothing to probe.
constexpr int kContextMajor = 3, kContextMinor = 0, kContextProfile = SDL_GL_CONTEXT_PROFILE_ES;
constexpr bool kContextNeedsProbe = false;
inline bool currentContextIsEnough() { return true; }

// Vertex colours cannot be read as GL_BGRA: they arrive as D3DCOLOR's B, G, R, A bytes
// and the shader's input puts them in order.
constexpr GLint kDiffuseComponents = 4;
constexpr const char* kDiffuseInput =
    "layout(location = 2) in vec4 velmoraDiffuseBgra;\n#define inDiffuse velmoraDiffuseBgra.zyxw\n";
// Texels go up neither as GL_BGRA nor swizzled: they are turned into R, G, B, A order,
// opaque when the format has no alpha.
inline void uploadBgra(GLint level, GLsizei width, GLsizei height, const std::vector<uint8_t>& bgra, bool opaque) {
    static std::vector<uint8_t> rgba;
    rgba.resize(bgra.size());
    for (size_t t = 0; t + 3 < bgra.size(); t += 4) {
        rgba[t] = bgra[t + 2];
        rgba[t + 1] = bgra[t + 1];
        rgba[t + 2] = bgra[t];
        rgba[t + 3] = opaque ? 255 : bgra[t + 3];
    }
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}
inline void makeAlphaOpaque() {}

// No base-vertex draws: the attributes start at the base vertex instead.
constexpr bool kAttributesStartAtBaseVertex = true;
inline void drawElements(GLenum mode, GLsizei count, GLenum type, const void* first, GLint) {
    glDrawElements(mode, count, type, first);
}

// No border colours (a border address repeats, as an address GL lacks), no sampler
// level-of-detail bias, no polygon modes (every triangle is filled).
inline GLenum borderAddress() { return GL_REPEAT; }
inline void setBorderAndBias(GLuint, const float*, float) {}
inline void setPolygonMode(Fill) {}

// The browser shows a frame only once the page's script hands it back.
inline void afterSwap() { waitForNextPaint(); }

#else

constexpr const char* kGlslVersion = "#version 330 core\n";
constexpr int kContextMajor = 3, kContextMinor = 3, kContextProfile = SDL_GL_CONTEXT_PROFILE_CORE;
constexpr bool kContextNeedsProbe = true;
// The context made current is OpenGL 3.3 or later (some drivers give less than asked).
inline bool currentContextIsEnough() { return epoxy_is_desktop_gl() && epoxy_gl_version() >= 33; }

constexpr GLint kDiffuseComponents = GL_BGRA;
constexpr const char* kDiffuseInput = "layout(location = 2) in vec4 inDiffuse;\n";
// A format without alpha reads as opaque through the texture's swizzle (makeAlphaOpaque).
inline void uploadBgra(GLint level, GLsizei width, GLsizei height, const std::vector<uint8_t>& bgra, bool) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, bgra.data());
}
// The bound texture's alpha reads as one, whatever its texels hold.
inline void makeAlphaOpaque() { glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_A, GL_ONE); }

constexpr bool kAttributesStartAtBaseVertex = false;
inline void drawElements(GLenum mode, GLsizei count, GLenum type, const void* first, GLint baseVertex) {
    glDrawElementsBaseVertex(mode, count, type, first, baseVertex);
}

inline GLenum borderAddress() { return GL_CLAMP_TO_BORDER; }
inline void setBorderAndBias(GLuint sampler, const float* borderColour, float bias) {
    glSamplerParameterfv(sampler, GL_TEXTURE_BORDER_COLOR, borderColour);
    glSamplerParameterf(sampler, GL_TEXTURE_LOD_BIAS, bias);
}
inline void setPolygonMode(Fill fill) {
    glPolygonMode(GL_FRONT_AND_BACK, fill == Fill::Lines ? GL_LINE : fill == Fill::Points ? GL_POINT : GL_FILL);
}

inline void afterSwap() {}

#endif

// The GL version and profile SDL makes the next context with, double-buffered.
inline void requestContext() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, kContextMajor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, kContextMinor);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, kContextProfile);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}

}  // namespace velmora::d3d9::gldialect
