// The headless desktop: no display and no devices; time is the platform's virtual clock.
// Keys, mouse motion and message-box answers come only from test scripts
// (velmora/HeadlessInput.h).
#pragma once

#include "Desktop.h"

namespace velmora::win32 {

class HeadlessDesktop final : public Desktop {
public:
    bool startVideo() override { return false; }
    void pumpEvents() override {}
    bool keyDown(int) override { return false; }
    void takeMotion(int&, int&) override {}
    void applyCursorMode(bool, bool) override {}
    int askPlayer(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
                  SDL_Window* parent) override;
    DWORD now() override;
    void sleep(DWORD ms) override;
    // A test's player in the menu: the time it was held open passes on the virtual clock.
    bool pauseMenuAsked() const override;
    void runPauseMenu(menu::MenuScreen&) override;
};

}  // namespace velmora::win32
