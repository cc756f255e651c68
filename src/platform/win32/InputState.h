// Keys, buttons and the cursor as the game polls them. The cursor runs in relative mode:
// GetCursorPos is the point last given to SetCursorPos plus the motion since then, and
// SetCursorPos consumes the motion; no pointer is ever warped. Scripted keys and motion
// (tests) add to what the devices report in the real backend.
#pragma once

#include <windows.h>

#include <bitset>

namespace velmora::win32 {

class InputState {
public:
    void setScriptedKey(int virtualKey, bool down);
    void releaseScriptedKeys() { scriptedKeys_.reset(); }
    bool scriptedKeyDown(int virtualKey) const;

    void addMotion(int dx, int dy);
    POINT cursor() const { return {home_.x + motion_.x, home_.y + motion_.y}; }
    void setCursor(int x, int y);

    // ShowCursor's display counter; the cursor shows while it is >= 0.
    int showCursor(bool show) { return show ? ++showCount_ : --showCount_; }
    int showCount() const { return showCount_; }
    bool cursorHidden() const { return showCount_ < 0; }

private:
    static constexpr int kVirtualKeys = 256;
    std::bitset<kVirtualKeys> scriptedKeys_;
    // The middle of a 1920 x 1080 desktop until the game puts the cursor somewhere.
    POINT home_{960, 540};
    POINT motion_{0, 0};
    int showCount_ = 0;
};

}  // namespace velmora::win32
