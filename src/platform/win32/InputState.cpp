#include "InputState.h"

#include "Desktop.h"
#include "Win32Platform.h"

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

// The SDK's polled input: key state now, and the cursor in relative mode.
using velmora::win32::Win32Platform;

namespace {

Win32Platform& platform() { return Win32Platform::instance(); }

constexpr SHORT kDownNow = static_cast<SHORT>(0x8000);

}  // namespace

SHORT WINAPI GetAsyncKeyState(int vKey) {
    Win32Platform& p = platform();
    if (vKey <= 0 || vKey > 0xFE) return 0;
    bool down = p.replay.keyDown(
        vKey, [&] { return p.input.scriptedKeyDown(vKey) || velmora::win32::desktop().keyDown(vKey); });
    return down ? kDownNow : 0;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    Win32Platform& p = platform();
    p.collectDeviceMotion();
    *lpPoint = p.replay.cursor([&] { return p.input.cursor(); });
    return TRUE;
}

BOOL WINAPI SetCursorPos(int X, int Y) {
    // Motion the mouse made before this call belongs to the old position.
    platform().collectDeviceMotion();
    platform().input.setCursor(X, Y);
    return TRUE;
}

int WINAPI ShowCursor(BOOL bShow) {
    int count = platform().input.showCursor(bShow != FALSE);
    platform().refreshCursorMode();
    return count;
}
