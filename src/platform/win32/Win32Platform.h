// All state of the window system, input and time, in one place so that it can be reset
// between tests. The SDK functions and the test controls work on this one instance; what
// differs between backends is asked of the desktop (Desktop.h).
#pragma once

#include "Clock.h"
#include "ComApartment.h"
#include "FrameScript.h"
#include "InputState.h"
#include "MessageBoxService.h"
#include "MessageQueue.h"
#include "Replay.h"
#include "WindowManager.h"
#include "sdl/SdlVideo.h"

namespace velmora::win32 {

struct Win32Platform {
    static Win32Platform& instance();

    SdlVideo video;
    WindowManager windows{video};
    MessageQueue queue;
    InputState input;
    MessageBoxService messageBoxes;
    Clock clock;
    ComApartment com;
    FrameScript frames;
    Replay replay;

    // SDL video is up for windows and drawing (see win32::videoAvailable).
    bool videoAvailable();
    // Posts with the time and cursor position of now, as PostMessage does.
    void post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Relative mouse mode follows the game's cursor counter.
    void refreshCursorMode();
    // Reads the motion the mouse made since the last call into the cursor.
    void collectDeviceMotion();

    void reset();
};

}  // namespace velmora::win32
