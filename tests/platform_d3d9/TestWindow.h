// A window of a given client size for device tests, on the backend the test selected.
#pragma once

#include <windows.h>

namespace d3d9test {

inline LRESULT CALLBACK testWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// A borderless window, so that its client area is the size asked for.
inline HWND createTestWindow(int clientWidth, int clientHeight) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = testWindowProc;
    windowClass.lpszClassName = "VelmoraDeviceTest";
    RegisterClassExA(&windowClass);
    return CreateWindowExA(0, "VelmoraDeviceTest", "device test", WS_POPUP, 0, 0, clientWidth, clientHeight,
                           nullptr, nullptr, nullptr, nullptr);
}

}  // namespace d3d9test
