// The desktop in a browser's page: SDL's, with the page's manners. Questions are the page's
// own dialog, a wait hands the page back to the browser, and the browser keeps Escape to
// free a captured pointer, which the game takes as a loss of focus. In the play, fingers
// work the touch controls (drawn by the page while touch is what the player uses); on the
// title, its other screens and in the menu a tap is SDL's click where it lands. The play is
// told from the other screens by the game's reading of the cursor, which only its view does.
#pragma once

#include "TouchControls.h"
#include "sdl/SdlDesktop.h"

namespace velmora::win32 {

class PageDesktop final : public SdlDesktop {
public:
    // Also watches every SDL event as it arrives, for the touch controls.
    bool startVideo() override;
    // Then the page draws the touch controls as they are now.
    void pumpEvents() override;
    // Escape never reaches the game: the browser takes it to free the pointer, and a page
    // is left, not quit. With touch in the play, the touch controls hold the walk keys and
    // the left button (SDL's own left button, which a touch also presses, is not read).
    bool keyDown(int virtualKey) override;
    void takeMotion(int& dx, int& dy) override;
    // The page's dialog (Module.askPlayer in index.html); the game waits for the click
    // while the browser runs on.
    int askPlayer(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
                  SDL_Window* parent) override;
    // The page has one thread: a wait returns it to the browser for the time (Asyncify).
    void sleep(DWORD ms) override;
    // A new wish for the pointer starts without the browser's earlier freeing of it.
    void applyCursorMode(bool cursorHidden, bool anyWindow) override;
    // Also when the browser frees the pointer the game holds (its Escape, another window),
    // when the page was hidden (another tab, the phone locked) and at the pause button.
    bool pauseMenuAsked() const override;
    // The menu answers that freeing; the first click after it captures the pointer again.
    void runPauseMenu(menu::MenuScreen& screen) override;

protected:
    bool quitOffered() const override { return false; }
    // The settings folder is the browser's storage (BrowserStorage.js): each save is copied there.
    bool settingsKept() const override;
    void settingsSaved() override;
    // Also lost while the browser has freed the pointer the game wants, until a click on
    // the canvas (which captures it again). The browser's freeing is asked of the page, not
    // read from SDL's relative mode: that goes off with the focus and would bring the
    // focus straight back.
    bool gameHasFocus() const override;
    // The pointer's movement as the browser reports it, in CSS pixels: SDL would scale it
    // to the canvas's size in the page and drop the fractions, so that the view turned
    // slower in a larger page and not at all for a slow hand. The look finger's adds to it.
    void takeMouseMotion(int& dx, int& dy) override;

private:
    static int watchEvent(void* desktop, SDL_Event* event);
    void watch(const SDL_Event& event);
    // Whether the game turned its view lately: it reads the cursor every frame of the play,
    // between polls for its messages (one a message and one a frame).
    bool inPlay() const { return wantsPointer_ && pollsSinceLook_ <= kPollsInAFrame; }
    static constexpr int kPollsInAFrame = 8;
    bool touchInPlay() const { return lastInput() == menu::PauseMenu::Input::Touch && inPlay(); }

    bool wantsPointer_ = false;
    bool watching_ = false;
    int pollsSinceLook_ = kPollsInAFrame + 1;
    TouchControls touch_;
};

}  // namespace velmora::win32
