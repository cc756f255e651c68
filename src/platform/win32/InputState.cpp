#include "InputState.h"

namespace velmora::win32 {

void InputState::setScriptedKey(int virtualKey, bool down) {
    if (virtualKey <= 0 || virtualKey >= kVirtualKeys) return;
    scriptedKeys_.set(static_cast<size_t>(virtualKey), down);
}

bool InputState::scriptedKeyDown(int virtualKey) const {
    if (virtualKey <= 0 || virtualKey >= kVirtualKeys) return false;
    return scriptedKeys_.test(static_cast<size_t>(virtualKey));
}

void InputState::addMotion(int dx, int dy) {
    motion_.x += dx;
    motion_.y += dy;
}

void InputState::setCursor(int x, int y) {
    home_ = {x, y};
    motion_ = {0, 0};
}

}  // namespace velmora::win32
