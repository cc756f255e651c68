// The main window, its client size, the flags that end the frame loop, and the
// model shader. One instance, reached through Application::get().
#pragma once

#include <windows.h>

#include "ModelEffect.h"

class Application {
public:
    static Application& get();

    // Window, device and effect; false when the window class or the device cannot be made.
    bool create(HINSTANCE moduleInstance, int width, int height);
    // The frame loop; returns 0 when the user quits.
    int run();
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance;
    HWND window;
    int clientWidth;
    int clientHeight;
    bool closeRequested;
    bool quitting;
    ModelEffect modelEffect;

private:
    Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    void runFrame();

    DWORD lateMilliseconds;  // how far behind its steps the game is
    int unseenSteps;         // steps drawn unseen since the last shown one
};
