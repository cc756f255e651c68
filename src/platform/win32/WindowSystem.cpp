#include "WindowSystem.h"

#include "Desktop.h"
#include "Win32Platform.h"

namespace velmora::win32 {

bool videoAvailable() { return Win32Platform::instance().videoAvailable(); }

SDL_Window* sdlWindow(HWND window) {
    const WindowRecord* record = Win32Platform::instance().windows.find(window);
    return record ? record->sdl : nullptr;
}

bool clientSize(HWND window, int* width, int* height) {
    const WindowRecord* record = Win32Platform::instance().windows.find(window);
    if (!record) return false;
    if (width) *width = record->clientWidth();
    if (height) *height = record->clientHeight();
    return true;
}

bool setFullScreen(HWND window, bool fullScreen) {
    return Win32Platform::instance().windows.setFullScreen(window, fullScreen);
}

bool pauseMenuAsked() { return desktop().pauseMenuAsked(); }

void runPauseMenu(menu::MenuScreen& screen) {
    Win32Platform::instance().clock.holdWhile([&] { desktop().runPauseMenu(screen); });
}

bool isFullScreen(HWND window) {
    const WindowRecord* record = Win32Platform::instance().windows.find(window);
    return record && record->fullScreen;
}


}  // namespace velmora::win32
