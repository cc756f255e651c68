// Window classes and windows: the records behind RegisterClassExA and CreateWindowExA,
// their geometry, and the messages Windows sends to a window procedure synchronously
// (creation, size, move, show, destruction). In the real backend each window has an SDL
// window the size of its client area.
#pragma once

#include "sdl/SdlVideo.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace velmora::win32 {

struct WindowRecord {
    HWND handle = nullptr;
    WNDPROC procedure = nullptr;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT outer{};  // screen coordinates, what GetWindowRect reports
    bool visible = false;
    bool fullScreen = false;
    bool destroying = false;
    SDL_Window* sdl = nullptr;

    RECT client() const;       // client area in screen coordinates
    LONG clientWidth() const;  // never negative
    LONG clientHeight() const;
};

class WindowManager {
public:
    explicit WindowManager(SdlVideo& video) : video_(video) {}
    ~WindowManager() { clear(); }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    ATOM registerClass(const WNDCLASSEXA& windowClass);
    HWND create(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID createParam);
    bool destroy(HWND window);
    bool move(HWND window, int x, int y, int width, int height);
    // Returns whether the window was visible before.
    bool show(HWND window, int command);
    bool setFullScreen(HWND window, bool fullScreen);
    // Alt+Enter: full screen on the desktop when windowed, back to the window otherwise.
    bool toggleFullScreen(HWND window);
    // A sizing-border window resized by the player; false when the size is unchanged.
    bool resizedByUser(HWND window, int clientWidth, int clientHeight);

    LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    WindowRecord* find(HWND window);
    const WindowRecord* find(HWND window) const;
    HWND findBySdlId(uint32_t sdlWindowId) const;
    HWND lastCreated() const;
    bool anySdlWindow() const;

    // Destroys every window (without messages) and forgets every class.
    void clear();

private:
    struct WindowClass {
        ATOM atom;
        std::string name;
        WNDPROC procedure;
    };

    const WindowClass* findClass(LPCSTR name) const;
    void sendSizeAndMove(HWND window, bool sizeChanged, bool moved, bool sizeFirst);

    SdlVideo& video_;
    std::vector<WindowClass> classes_;
    std::map<HWND, std::unique_ptr<WindowRecord>> windows_;
    std::vector<HWND> creationOrder_;
};

}  // namespace velmora::win32
