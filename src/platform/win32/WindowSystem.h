// What the Direct3D layer needs from the window system that the Win32 API has no call
// for: the SDL window behind an HWND, the client size, the full-screen switch and
// whether there is a display to draw on. Include it by path: "win32/WindowSystem.h".
#pragma once

#include <windows.h>

struct SDL_Window;

namespace velmora::menu {
class MenuScreen;
}

namespace velmora::win32 {

// True when the real backend has SDL video up on a driver with a display (x11, wayland,
// kmsdrm, ...); starts SDL video on first use. Always false in the headless backend.
// SDL's offscreen and dummy drivers count as "no display" unless
// velmora::offscreenVideoAllowed(): a player without a display must get the start-up
// failure, not an invisible game.
bool videoAvailable();

// The SDL window of a window made by CreateWindowExA, or null (unknown handle,
// headless backend, no display). It is created with SDL_WINDOW_OPENGL and the GL 3.3
// core profile requested, hidden until ShowWindow, sized to the client area.
SDL_Window* sdlWindow(HWND window);

// The client size GetClientRect reports; false for an unknown handle. It stays the size
// the game asked for while the window is full screen.
bool clientSize(HWND window, int* width, int* height);

// Full screen is a desktop-sized borderless window showing the same client area scaled
// (no display mode change); false for an unknown handle or when SDL refuses.
bool setFullScreen(HWND window, bool fullScreen);
bool isFullScreen(HWND window);

// The pause menu when the player asked for it, on the device's screen, with the game's
// clock held while it is open (see Desktop::runPauseMenu).
bool pauseMenuAsked();
void runPauseMenu(menu::MenuScreen& screen);

}  // namespace velmora::win32
