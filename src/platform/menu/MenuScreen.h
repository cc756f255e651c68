// Where the pause menu is drawn: the Direct3D layer's window picture. The desktop runs the
// menu and asks the screen to show it over the game's last frame.
#pragma once

namespace velmora::menu {

class PauseMenu;

class MenuScreen {
public:
    virtual ~MenuScreen() = default;
    // Keeps the frame the window holds now, to lie dimmed under the menu.
    virtual void keepFrame() = 0;
    // Draws the menu over the dimmed frame, at the window's own pixel size, and shows it.
    virtual void show(const PauseMenu& menu) = 0;
    // The menu's line under a point of the window (in window coordinates), or -1.
    virtual int lineAt(const PauseMenu& menu, int x, int y) = 0;
    // A drag of so many window pixels down (negative: up) moves the lines with the finger
    // where they do not all fit; false where they do (the drag is then no drag).
    virtual bool drag(const PauseMenu& menu, int windowPixels) = 0;
    // Puts the kept frame back undimmed, as the game's next Present expects it.
    virtual void restoreFrame() = 0;
};

}  // namespace velmora::menu
