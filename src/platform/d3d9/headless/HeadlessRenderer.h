// The headless backend: no pixels; every Clear and draw goes into the draw log with the
// state it was made with.
#pragma once

#include "Renderer.h"
#include "menu/MenuScreen.h"

namespace velmora::d3d9 {

// Its menu screen shows nothing: a test's player may still open the menu and wait in it.
class HeadlessRenderer final : public Renderer, public menu::MenuScreen {
public:
    void clear(const ClearCall& call) override;
    void draw(const DrawCall& call) override;
    void present() override;
    bool readBack(std::vector<BYTE>& rgba, UINT& width, UINT& height) override;
    menu::MenuScreen* menuScreen() override { return this; }

    void keepFrame() override {}
    void show(const menu::PauseMenu&) override {}
    int lineAt(const menu::PauseMenu&, int, int) override { return -1; }
    bool drag(const menu::PauseMenu&, int) override { return false; }
    void restoreFrame() override {}
};

}  // namespace velmora::d3d9
