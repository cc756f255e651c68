#include "Win32Platform.h"

#include "Desktop.h"

namespace velmora::win32 {

namespace {
Desktop* g_desktop = nullptr;
}  // namespace

void useDesktop(Desktop& desktop) { g_desktop = &desktop; }
Desktop& desktop() { return *g_desktop; }

Win32Platform& Win32Platform::instance() {
    // Never destroyed: the process may exit with windows open, after SDL is gone.
    static Win32Platform* platform = new Win32Platform;
    return *platform;
}

bool Win32Platform::videoAvailable() { return desktop().startVideo(); }

void Win32Platform::post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG posted{};
    posted.hwnd = window;
    posted.message = message;
    posted.wParam = wParam;
    posted.lParam = lParam;
    posted.time = desktop().now();
    posted.pt = input.cursor();
    queue.post(posted);
}

void Win32Platform::refreshCursorMode() {
    desktop().applyCursorMode(input.cursorHidden(), windows.anySdlWindow());
}

void Win32Platform::collectDeviceMotion() {
    int dx = 0, dy = 0;
    desktop().takeMotion(dx, dy);
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
    replay = Replay{};
}

}  // namespace velmora::win32
