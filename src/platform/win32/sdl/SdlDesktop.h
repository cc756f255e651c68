// The real desktop through SDL: its windows (SdlVideo), the keyboard, mouse and game pads,
// window events turned into messages, message boxes on the display and the monotonic clock.
#pragma once

#include "Desktop.h"
#include "menu/PauseMenu.h"
#include "SdlGamepads.h"

#include <functional>

namespace velmora::win32 {

class SdlDesktop : public Desktop {
public:
    bool startVideo() override;
    // The close box posts WM_CLOSE, a player's resize of a sizing-border window posts
    // WM_SIZE. Keyboard and mouse events only update SDL's state, which keyDown and
    // takeMotion poll.
    void pumpEvents() override;
    // The walk keys and the thread's key are read by position (settings().keys); other
    // letters follow the keyboard layout, as virtual keys do; mouse buttons are read from
    // the pointer itself, so they count wherever it is. With the pause menu, Escape reads
    // as down only once its Quit was chosen.
    bool keyDown(int virtualKey) override;
    void takeMotion(int& dx, int& dy) override;
    void applyCursorMode(bool cursorHidden, bool anyWindow) override;
    // An SDL box when the display can show one, else the text on standard error and the
    // default answer.
    int askPlayer(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
                  SDL_Window* parent) override;
    DWORD now() override;
    void sleep(DWORD ms) override;
    bool pauseMenuAsked() const override { return menuAsked_; }
    // Frees the pointer, holds the sounds and reads the keyboard, mouse and pads for the
    // menu alone; a change of full screen or volume is made at once.
    void runPauseMenu(menu::MenuScreen& screen) override;

    // How the menu holds the sounds and changes the volume (the audio output's business).
    void useSoundControls(std::function<void(bool paused)> pause, std::function<void()> applyVolume);

protected:
    // The page has no Quit: it is left, not quit.
    virtual bool quitOffered() const { return true; }
    // Whether a setting the menu saves outlives the game (the page's storage may be refused),
    // and what follows each save (the page copies the file to its storage).
    virtual bool settingsKept() const { return true; }
    virtual void settingsSaved() {}
    bool menuAsked_ = false;
    // Keys and mouse, a pad or touch: whichever the player used last, as the events are polled.
    menu::PauseMenu::Input lastInput() const { return lastInput_; }
    void noteInput(const SDL_Event& event);

    // Whether one of the game's windows has the keyboard (always so where no display is
    // shown: nothing else can take it).
    virtual bool gameHasFocus() const;
    // The mouse's motion since the last call, in the device's own units.
    virtual void takeMouseMotion(int& dx, int& dy);

private:
    // Without the focus every key, button and pad reads as up, the cursor stays still and
    // the pointer is free; on a change the cursor mode follows, and motion made meanwhile
    // is dropped so that the view does not jump.
    bool followFocus();
    void handleMenuEvent(const SDL_Event& event, menu::MenuScreen& screen);
    // The left stick pushed past half way, as one press of a direction.
    void stickCommand(const SDL_ControllerAxisEvent& axis);
    static constexpr int kStickHalfWay = 16384;
    void applyChange(const std::string& setting);
    // The label the player's own layout prints on the key at that place.
    static std::string keyLabel(int scancode);

    SdlGamepads gamepads_;
    bool focused_ = false;
    bool cursorHidden_ = false;
    bool anyWindow_ = false;
    double motionX_ = 0.0;
    double motionY_ = 0.0;
    menu::PauseMenu menu_{keyLabel};
    menu::PauseMenu::Input lastInput_ = menu::PauseMenu::Input::Keys;
    int stickX_ = 0;
    int stickY_ = 0;
    SDL_Point pointerAtOpen_{-1, -1};
    bool pointerMoved_ = false;
    // A press in the menu, and whether it has since been dragged (its release is no click).
    int pressY_ = -1;
    bool dragged_ = false;
    std::function<void(bool)> pauseSound_;
    std::function<void()> applyVolume_;
};

}  // namespace velmora::win32
