#include "Win32Platform.h"

#include "DeviceInput.h"
#include "velmora/Platform.h"

namespace velmora::win32 {

Win32Platform& Win32Platform::instance() {
    // Never destroyed: the process may exit with windows open, after SDL is gone.
    static Win32Platform* platform = new Win32Platform;
    return *platform;
}

bool Win32Platform::videoAvailable() { return !isHeadless() && video.start(); }

void Win32Platform::post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG posted{};
    posted.hwnd = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    posted.time = clock.now();
    posted.pt = input.cursor();
    queue.post(posted);
}

void Win32Platform::refreshCursorMode() {
    if (!isHeadless()) video.applyCursorMode(input.cursorHidden(), windows.anySdlWindow());
}

void Win32Platform::collectDeviceMotion() {
    if (isHeadless() || !video.running()) return;
    int dx = 0, dy = 0;
    DeviceInput::takeMotion(&dx, &dy);
    input.addMotion(dx, dy);
}

void Win32Platform::reset() {
    windows.clear();
    video.shutdown();
    queue.clear();
    input = InputState{};
    messageBoxes.clear();
    clock = Clock{};
    com = ComApartment{};
    frames = FrameScript{};
}

}  // namespace velmora::win32
