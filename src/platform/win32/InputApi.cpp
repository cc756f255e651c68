// Polled input: key state now, and the cursor in relative mode (see InputState).
#include "DeviceInput.h"
#include "Win32Platform.h"
#include "velmora/Platform.h"

#include <windows.h>

using velmora::win32::Win32Platform;

namespace {

Win32Platform& platform() { return Win32Platform::instance(); }

constexpr SHORT kDownNow = static_cast<SHORT>(0x8000);

}  // namespace

SHORT WINAPI GetAsyncKeyState(int vKey) {
    Win32Platform& p = platform();
    if (vKey <= 0 || vKey > 0xFE) return 0;
    bool down = p.input.scriptedKeyDown(vKey) ||
                (!velmora::isHeadless() && p.video.running() && velmora::win32::DeviceInput::keyDown(vKey));
    return down ? kDownNow : 0;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
    if (!lpPoint) return FALSE;
    platform().collectDeviceMotion();
    *lpPoint = platform().input.cursor();
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
