#include "GlContext.h"

#include "GlDialect.h"
#include "velmora/Language.h"
#include "win32/WindowSystem.h"

#include <epoxy/gl.h>

#include <cstdio>

namespace velmora::d3d9 {

namespace {

unsigned g_lastId = 0;
unsigned g_currentId = 0;

// SDL's defaults for the window's own depth and stencil bits.
const int kPlainDepthBits = 16;
const int kPlainStencilBits = 0;

void requestCoreProfile(int depthBits, int stencilBits) {
    gldialect::requestContext();
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, stencilBits);
}

bool probeCoreProfile() {
    if (!gldialect::kContextNeedsProbe) return true;
    requestCoreProfile(kPlainDepthBits, kPlainStencilBits);
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) return false;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    bool ok = false;
    if (context) {
        ok = gldialect::currentContextIsEnough();
        SDL_GL_DeleteContext(context);
        g_currentId = 0;
    }
    SDL_DestroyWindow(window);
    return ok;
}

}  // namespace

bool GlContext::supported() {
    static int capable = -1;  // unknown until probed
    if (!win32::videoAvailable()) return false;
    if (capable < 0) {
        capable = probeCoreProfile() ? 1 : 0;
        // The game only learns that its device failed; the reason is for the player.
        if (!capable) std::fputs(localized("velmora: this display offers no OpenGL 3.3\n").c_str(), stderr);
    }
    return capable == 1;
}

std::string GlContext::missingOpenGl() {
    if (!win32::videoAvailable() || supported()) return "";
    // What the display offers when asked for any context.
    SDL_GL_ResetAttributes();
    std::string offered = "no OpenGL";
    if (SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN)) {
        if (SDL_GLContext context = SDL_GL_CreateContext(window)) {
            const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
            const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
            offered = std::string("OpenGL ") + (version ? version : "?") + " (" + (renderer ? renderer : "?") + ")";
            SDL_GL_DeleteContext(context);
            g_currentId = 0;
        }
        SDL_DestroyWindow(window);
    }
    return "Velmora needs OpenGL 3.3 or later to draw, and this computer's graphics offer " + offered +
           ".\nThe current driver from the maker of the graphics card usually brings it.";
}

GlContext* GlContext::create(SDL_Window* window) {
    if (!window) return nullptr;
    // The window's own framebuffer can stand in for the back buffer when it has a D24S8
    // depth buffer; not every display offers one.
    requestCoreProfile(24, 8);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) {
        requestCoreProfile(kPlainDepthBits, kPlainStencilBits);
        context = SDL_GL_CreateContext(window);
    }
    if (!context) return nullptr;
    if (!gldialect::currentContextIsEnough()) {
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    auto* made = new GlContext(window, context, ++g_lastId);
    g_currentId = made->id_;
    return made;
}

GlContext::~GlContext() {
    SDL_GL_DeleteContext(context_);
    if (g_currentId == id_) g_currentId = 0;
}

void GlContext::makeCurrent() {
    if (g_currentId == id_) return;
    SDL_GL_MakeCurrent(window_, context_);
    g_currentId = id_;
}

bool GlContext::isCurrent(unsigned id) { return id != 0 && id == g_currentId; }

}  // namespace velmora::d3d9
