// The machine under the window system, one per backend: sdl/ has a display, the real
// keyboard and mouse and the real clock; headless/ has none of them and keeps a virtual
// clock that only Sleep and the tests move, so frame pacing is exact and a test never
// waits. The backend chosen at start-up (velmora::selectBackend) hands its desktop to
// useDesktop.
#pragma once

#include "MessageBoxButtons.h"

#include <windows.h>

struct SDL_Window;

namespace velmora::menu {
class MenuScreen;
}

namespace velmora::win32 {

class Desktop {
public:
    virtual ~Desktop() = default;

    // Starts video on first use; true while windows get SDL windows to show and draw in
    // (see win32::videoAvailable).
    virtual bool startVideo() = 0;
    // Posts the messages for what happened to the windows since the last poll.
    virtual void pumpEvents() = 0;
    // The key or mouse button held down now on the player's own devices.
    virtual bool keyDown(int virtualKey) = 0;
    // The mouse's motion since the last call.
    virtual void takeMotion(int& dx, int& dy) = 0;
    // Relative mouse mode while the game hides the cursor over one of its windows: the
    // pointer is held by the window and only motion is reported.
    virtual void applyCursorMode(bool cursorHidden, bool anyWindow) = 0;
    // A message box no test answered: the player's answer, or the default one when there
    // is nobody to ask. `parent` is the owner's SDL window or null.
    virtual int askPlayer(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
                          SDL_Window* parent) = 0;
    // timeGetTime and Sleep (winmm's millisecond timer wraps like the real one).
    virtual DWORD now() = 0;
    virtual void sleep(DWORD ms) = 0;
    // Whether the player asked for the pause menu (Escape, a pad's Start) since it last
    // ran; never where there is no player.
    virtual bool pauseMenuAsked() const { return false; }
    // The pause menu until the player resumes or quits: the game waits inside this call,
    // as inside a message box.
    virtual void runPauseMenu(menu::MenuScreen&) {}
};

void useDesktop(Desktop& desktop);
Desktop& desktop();

}  // namespace velmora::win32
