// SDL video for the real backend: starting it once, refusing drivers without a display,
// and the few window operations the Win32 windows need.
#pragma once

#include <cstdint>

struct SDL_Window;
union SDL_Event;

namespace velmora::win32 {

class SdlVideo {
public:
    // Starts SDL video on the first call; true while it runs on a driver the game may
    // use (see win32::videoAvailable). A refusal is final until shutdown().
    bool start();
    bool running() const { return state_ == State::Running; }
    // Running on a driver that shows things to a person (not offscreen or dummy, which
    // tests may allow for drawing): only then can a message box be put up.
    bool showsOnScreen() const;
    void shutdown();

    SDL_Window* createWindow(const char* title, int x, int y, int width, int height, bool resizable);
    void destroyWindow(SDL_Window* window);
    void setGeometry(SDL_Window* window, int x, int y, int width, int height);
    void show(SDL_Window* window, bool visible);
    bool setFullScreen(SDL_Window* window, bool fullScreen);
    static uint32_t windowId(SDL_Window* window);
    // Alt+Enter pressed (not a key repeat): the player asks to switch between window and
    // full screen.
    static bool isFullScreenToggle(const SDL_Event& event);

    // Relative mouse mode while the game hides the cursor: the pointer is held by the
    // window and only motion is reported, as the game's re-centring expects.
    void applyCursorMode(bool cursorHidden, bool anyWindow);

private:
    enum class State { NotStarted, Running, Refused };
    State state_ = State::NotStarted;
};

}  // namespace velmora::win32
