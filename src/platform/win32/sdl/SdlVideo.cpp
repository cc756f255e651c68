#include "SdlVideo.h"

#include "StopSignals.h"
#include "d3d9/gl/GlDialect.h"

#include "velmora/Language.h"
#include "velmora/Platform.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// SDL's window-system header brings the system's own windows.h on Windows, which must not
// meet the layer's: only X11 needs it.
#if defined(SDL_VIDEO_DRIVER_X11)
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#endif

namespace velmora::win32 {

namespace {

// SDL 2.26 falls back to "offscreen" when no display can be opened; "dummy" and its
// evdev variant draw nowhere either.
bool driverHasNoDisplay(const char* name) {
    return name && (std::strcmp(name, "offscreen") == 0 || std::strcmp(name, "dummy") == 0 ||
                    std::strcmp(name, "evdev") == 0);
}

// Full screen where nobody manages windows. SDL asks for full screen through the window
// manager (_NET_WM_STATE on X11); with no window manager running, as on a bare X server,
// nobody acts on it: the X window keeps its windowed size while SDL reports the desktop
// size for drawing, so only part of the image is seen. Then the window is laid over the
// desktop directly. Returns true when it moved the window, false when a window manager
// (or a non-X11 driver) takes care of full screen.
bool coverDesktopWithoutWindowManager(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (!window) return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    Display* display = info.info.x11.display;

    // A window manager is the one client that redirects the root window's structure
    // requests; that holds for every X window manager, with or without EWMH.
    XWindowAttributes root;
    if (!XGetWindowAttributes(display, DefaultRootWindow(display), &root)) return false;
    if (root.all_event_masks & SubstructureRedirectMask) return false;

    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) != 0) return false;
    XMoveResizeWindow(display, info.info.x11.window, bounds.x, bounds.y, static_cast<unsigned>(bounds.w),
                      static_cast<unsigned>(bounds.h));
    XFlush(display);
    return true;
#else
    (void)window;
    return false;
#endif
}

}  // namespace

bool SdlVideo::start() {
    if (state_ != State::NotStarted) return running();

    // Signals close the windows (SDL would turn them into a quit event the game never
    // looks at); a click on an inactive window still counts, as on Windows; the
    // full-screen window must not minimise when another window takes the focus.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    StopSignals::install();
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");

    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        // The game only learns that its device failed; the reason is for the player.
        std::fputs(localized("velmora: no display: %s\n", {SDL_GetError()}).c_str(), stderr);
        state_ = State::Refused;
        return false;
    }
    if (driverHasNoDisplay(SDL_GetCurrentVideoDriver()) && !offscreenVideoAllowed()) {
        const char* display = std::getenv("DISPLAY");
        std::fputs(localized("velmora: no display could be opened (DISPLAY=%s)\n", {display ? display : ""}).c_str(), stderr);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        state_ = State::Refused;
        return false;
    }
    d3d9::gldialect::requestContext();
    state_ = State::Running;
    return true;
}

bool SdlVideo::showsOnScreen() const { return running() && !driverHasNoDisplay(SDL_GetCurrentVideoDriver()); }

void SdlVideo::shutdown() {
    if (running()) {
        SDL_SetRelativeMouseMode(SDL_FALSE);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    state_ = State::NotStarted;
}

SDL_Window* SdlVideo::createWindow(const char* title, int x, int y, int width, int height, bool resizable) {
    if (!running()) return nullptr;
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
#ifndef __EMSCRIPTEN__
    // In a page the canvas's place is the page's: it scales the picture to fit, and the
    // game's window keeps its size.
    if (resizable) flags |= SDL_WINDOW_RESIZABLE;
#endif
    // SDL cannot make an empty window; a zero-sized client area gets one pixel.
    return SDL_CreateWindow(title, x, y, width > 0 ? width : 1, height > 0 ? height : 1, flags);
}

void SdlVideo::destroyWindow(SDL_Window* window) {
    if (window) SDL_DestroyWindow(window);
}

void SdlVideo::setGeometry(SDL_Window* window, int x, int y, int width, int height) {
    if (!window) return;
    SDL_SetWindowPosition(window, x, y);
    SDL_SetWindowSize(window, width > 0 ? width : 1, height > 0 ? height : 1);
}

void SdlVideo::show(SDL_Window* window, bool visible) {
    if (!window) return;
    if (visible) {
        SDL_ShowWindow(window);
        SDL_RaiseWindow(window);
    } else {
        SDL_HideWindow(window);
    }
}

bool SdlVideo::setFullScreen(SDL_Window* window, bool fullScreen) {
    if (!window) return true;  // no display: nothing to switch, as in the headless backend
#ifdef __EMSCRIPTEN__
    // In a page full screen is the browser's: the page enters it from the player's click
    // and the browser leaves it. The canvas keeps its size; the page scales it.
    return true;
#endif
    if (SDL_SetWindowFullscreen(window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
    if (fullScreen) coverDesktopWithoutWindowManager(window);
    return true;
}

uint32_t SdlVideo::windowId(SDL_Window* window) { return window ? SDL_GetWindowID(window) : 0; }

bool SdlVideo::isFullScreenToggle(const SDL_Event& event) {
    if (event.type != SDL_KEYDOWN || event.key.repeat) return false;
    const SDL_Keycode key = event.key.keysym.sym;
    return (key == SDLK_RETURN || key == SDLK_KP_ENTER) && (event.key.keysym.mod & KMOD_ALT);
}

void SdlVideo::applyCursorMode(bool cursorHidden, bool anyWindow) {
    if (!running()) return;
    bool relative = cursorHidden && anyWindow;
    SDL_SetRelativeMouseMode(relative ? SDL_TRUE : SDL_FALSE);
    SDL_ShowCursor(cursorHidden ? SDL_DISABLE : SDL_ENABLE);
}

}  // namespace velmora::win32
