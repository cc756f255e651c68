// The OpenGL 3.3 core context a device draws with, on the SDL window of its HWND.
#pragma once

#include <SDL.h>

#include <string>

namespace velmora::d3d9 {

class GlContext {
public:
    // Whether SDL video runs with a display and gives an OpenGL 3.3 core context; probed
    // once with a hidden window.
    static bool supported();

    // For a display whose OpenGL is older than 3.3, what the player is told: what the game
    // needs and what the machine offers. Empty when the display does, or when there is no
    // display at all.
    static std::string missingOpenGl();

    // Null when no 3.3 core context can be made on the window.
    static GlContext* create(SDL_Window* window);
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    void makeCurrent();
    void swap() { SDL_GL_SwapWindow(window_); }
    SDL_Window* window() const { return window_; }
    unsigned id() const { return id_; }

    // GL names belong to the context that made them: they may be deleted only while that
    // context is alive and current.
    static bool isCurrent(unsigned id);

private:
    GlContext(SDL_Window* window, SDL_GLContext context, unsigned id) : window_(window), context_(context), id_(id) {}

    SDL_Window* window_;
    SDL_GLContext context_;
    unsigned id_;
};

}  // namespace velmora::d3d9
