// The real desktop through SDL: its windows (SdlVideo), the keyboard, mouse and game pads,
// window events turned into messages, message boxes on the display and the monotonic clock.
#pragma once

#include "Desktop.h"
#include "SdlGamepads.h"

namespace velmora::win32 {

class SdlDesktop : public Desktop {
public:
    bool startVideo() override;
    // The close box posts WM_CLOSE, a player's resize of a sizing-border window posts
    // WM_SIZE. Keyboard and mouse events only update SDL's state, which keyDown and
    // takeMotion poll.
    void pumpEvents() override;
    // Letters follow the keyboard layout, as virtual keys do; mouse buttons are read from
    // the pointer itself, so they count wherever it is.
    bool keyDown(int virtualKey) override;
    void takeMotion(int& dx, int& dy) override;
    void applyCursorMode(bool cursorHidden, bool anyWindow) override;
    // An SDL box when the display can show one, else the text on standard error and the
    // default answer.
    int askPlayer(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
                  SDL_Window* parent) override;
    DWORD now() override;
    void sleep(DWORD ms) override;

protected:
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

    SdlGamepads gamepads_;
    bool focused_ = false;
    bool cursorHidden_ = false;
    bool anyWindow_ = false;
    double motionX_ = 0.0;
    double motionY_ = 0.0;
};

}  // namespace velmora::win32
