// The desktop in a browser's page: SDL's, with the page's manners. Questions are the page's
// own dialog, a wait hands the page back to the browser, and the browser keeps Escape to
// free a captured pointer, which the game takes as a loss of focus.
#pragma once

#include "sdl/SdlDesktop.h"

namespace velmora::win32 {

class PageDesktop final : public SdlDesktop {
public:
    // Escape never reaches the game: the browser takes it to free the pointer, and a page
    // is left, not quit.
    bool keyDown(int virtualKey) override;
    // The page's dialog (Module.askPlayer in index.html); the game waits for the click
    // while the browser runs on.
    int askPlayer(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
                  SDL_Window* parent) override;
    // The page has one thread: a wait returns it to the browser for the time (Asyncify).
    void sleep(DWORD ms) override;
    // A new wish for the pointer starts without the browser's earlier freeing of it.
    void applyCursorMode(bool cursorHidden, bool anyWindow) override;
    // Also when the browser frees the pointer the game holds (its Escape, another window).
    bool pauseMenuAsked() const override;
    // The menu answers that freeing; the first click after it captures the pointer again.
    void runPauseMenu(menu::MenuScreen& screen) override;

protected:
    bool quitOffered() const override { return false; }
    // Also lost while the browser has freed the pointer the game wants, until a click on
    // the canvas (which captures it again). The browser's freeing is asked of the page, not
    // read from SDL's relative mode: that goes off with the focus and would bring the
    // focus straight back.
    bool gameHasFocus() const override;
    // The pointer's movement as the browser reports it, in CSS pixels: SDL would scale it
    // to the canvas's size in the page and drop the fractions, so that the view turned
    // slower in a larger page and not at all for a slow hand.
    void takeMouseMotion(int& dx, int& dy) override;

private:
    bool wantsPointer_ = false;
};

}  // namespace velmora::win32
