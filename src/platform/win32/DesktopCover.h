// Full screen where nobody manages windows. SDL asks for full screen through the window
// manager (_NET_WM_STATE on X11); with no window manager running, as on a bare X server,
// nobody acts on it: the X window keeps its windowed size while SDL reports the desktop
// size for drawing, so only part of the image is seen. Then the window is laid over the
// desktop directly.
#pragma once

struct SDL_Window;

namespace velmora::win32 {

// Places a full-screen window over its display when no window manager runs. Returns
// true when it moved the window, false when a window manager (or a non-X11 driver)
// takes care of full screen.
bool coverDesktopWithoutWindowManager(SDL_Window* window);

}  // namespace velmora::win32
