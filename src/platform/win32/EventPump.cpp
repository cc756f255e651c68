#include "EventPump.h"

#include "Win32Platform.h"

#include <SDL.h>

namespace velmora::win32 {

namespace {

void handleWindowEvent(Win32Platform& platform, const SDL_WindowEvent& event) {
    HWND window = platform.windows.findBySdlId(event.windowID);
    if (!window) return;
    switch (event.event) {
        case SDL_WINDOWEVENT_CLOSE:
            platform.post(window, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            if (platform.windows.resizedByUser(window, event.data1, event.data2))
                platform.post(window, WM_SIZE, SIZE_RESTORED,
                              MAKELONG(static_cast<WORD>(event.data1), static_cast<WORD>(event.data2)));
            break;
        default:
            break;
    }
}

}  // namespace

void EventPump::pump(Win32Platform& platform) {
    if (!platform.video.running()) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_WINDOWEVENT) handleWindowEvent(platform, event.window);
    }
}

}  // namespace velmora::win32
