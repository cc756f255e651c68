#include "WindowManager.h"

#include "Desktop.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace velmora::win32 {

namespace {

// The non-client frame Windows draws around a top-level window of a given style, in
// pixels at 96 dpi (what AdjustWindowRect reports on Windows 10): the client area is the
// window rectangle less these margins.
struct WindowFrame {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;

    static WindowFrame forStyle(DWORD style) {
        const bool caption = (style & WS_CAPTION) == WS_CAPTION;
        LONG border = 0;
        if (style & WS_THICKFRAME)
            border = 8;  // sizing frame and padding
        else if (caption)
            border = 3;  // fixed dialog frame
        else if (style & WS_BORDER)
            border = 1;
        const LONG captionHeight = caption ? 23 : 0;
        return {border, border + captionHeight, border, border};
    }
};

// Class names are case-insensitive on Windows.
bool sameName(const std::string& a, const char* b) {
    size_t length = std::strlen(b);
    if (a.size() != length) return false;
    for (size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A class "name" below 0x10000 is an atom (MAKEINTATOM), not a string.
bool isAtom(LPCSTR name) { return reinterpret_cast<uintptr_t>(name) < 0x10000; }

// Handles are never reused within a process, so a stale handle never finds a new window.
HWND nextHandle() {
    static uintptr_t counter = 0x10000;
    counter += 4;
    return reinterpret_cast<HWND>(counter);
}

// The game sets cbSize to 48, the structure's size in the 32-bit SDK it was written for.
constexpr UINT kWndClassExSize32 = 48;

constexpr int kDefaultPosition = 0;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

LPARAM packPoint(LONG x, LONG y) { return MAKELONG(static_cast<WORD>(x), static_cast<WORD>(y)); }

}  // namespace

RECT WindowRecord::client() const {
    WindowFrame frame = WindowFrame::forStyle(style);
    RECT r{outer.left + frame.left, outer.top + frame.top, 0, 0};
    r.right = r.left + clientWidth();
    r.bottom = r.top + clientHeight();
    return r;
}

LONG WindowRecord::clientWidth() const {
    WindowFrame frame = WindowFrame::forStyle(style);
    return std::max<LONG>(0, outer.right - outer.left - frame.left - frame.right);
}

LONG WindowRecord::clientHeight() const {
    WindowFrame frame = WindowFrame::forStyle(style);
    return std::max<LONG>(0, outer.bottom - outer.top - frame.top - frame.bottom);
}

ATOM WindowManager::registerClass(const WNDCLASSEXA& windowClass) {
    if (windowClass.cbSize != sizeof(WNDCLASSEXA) && windowClass.cbSize != kWndClassExSize32) return 0;
    if (!windowClass.lpfnWndProc || !windowClass.lpszClassName || isAtom(windowClass.lpszClassName)) return 0;
    if (windowClass.lpszClassName[0] == '\0' || findClass(windowClass.lpszClassName)) return 0;
    ATOM atom = static_cast<ATOM>(0xC000 + classes_.size());
    classes_.push_back({atom, windowClass.lpszClassName, windowClass.lpfnWndProc});
    return atom;
}

const WindowManager::WindowClass* WindowManager::findClass(LPCSTR name) const {
    if (!name) return nullptr;
    for (const WindowClass& c : classes_) {
        if (isAtom(name) ? c.atom == reinterpret_cast<uintptr_t>(name) : sameName(c.name, name)) return &c;
    }
    return nullptr;
}

HWND WindowManager::create(DWORD exStyle, LPCSTR className, LPCSTR title, DWORD style, int x, int y,
                           int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                           LPVOID createParam) {
    const WindowClass* windowClass = findClass(className);
    if (!windowClass) return nullptr;
    if (parent && !find(parent)) return nullptr;

    // Overlapped top-level windows always get a caption.
    if (!(style & WS_POPUP)) style |= WS_CAPTION;
    if (x == CW_USEDEFAULT) x = y = kDefaultPosition;
    if (width == CW_USEDEFAULT) {
        width = kDefaultWidth;
        height = kDefaultHeight;
    }

    auto record = std::make_unique<WindowRecord>();
    record->handle = nextHandle();
    record->procedure = windowClass->procedure;
    record->title = title ? title : "";
    record->style = style & ~static_cast<DWORD>(WS_VISIBLE);
    record->exStyle = exStyle;
    record->outer = {x, y, x + std::max(0, width), y + std::max(0, height)};
    if (desktop().startVideo()) {
        // A window that can be maximised may take any size: the device draws at the
        // window's pixel size whatever client size the game keeps.
        RECT client = record->client();
        record->sdl = video_.createWindow(record->title.c_str(), client.left, client.top, record->clientWidth(),
                                          record->clientHeight(), (style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) != 0);
    }
    HWND handle = record->handle;
    windows_[handle] = std::move(record);
    creationOrder_.push_back(handle);

    CREATESTRUCTA create{createParam, instance, menu, parent, height, width, y, x,
                         static_cast<LONG>(style), title, isAtom(className) ? nullptr : className, exStyle};
    if (send(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        destroy(handle);
        return nullptr;
    }
    if (!find(handle)) return nullptr;  // destroyed by its own WM_CREATE
    sendSizeAndMove(handle, true, true, true);
    if ((style & WS_VISIBLE) && find(handle)) show(handle, SW_SHOW);
    return find(handle) ? handle : nullptr;
}

void WindowManager::sendSizeAndMove(HWND window, bool sizeChanged, bool moved, bool sizeFirst) {
    auto sendSize = [&] {
        if (const WindowRecord* r = find(window))
            send(window, WM_SIZE, SIZE_RESTORED, packPoint(r->clientWidth(), r->clientHeight()));
    };
    auto sendMove = [&] {
        if (const WindowRecord* r = find(window)) {
            RECT client = r->client();
            send(window, WM_MOVE, 0, packPoint(client.left, client.top));
        }
    };
    // CreateWindowEx sends WM_SIZE then WM_MOVE; a later position change WM_MOVE first.
    if (sizeFirst) {
        if (sizeChanged) sendSize();
        if (moved) sendMove();
    } else {
        if (moved) sendMove();
        if (sizeChanged) sendSize();
    }
}

bool WindowManager::destroy(HWND window) {
    WindowRecord* record = find(window);
    if (!record) return false;
    if (record->destroying) return true;
    record->destroying = true;
    send(window, WM_DESTROY, 0, 0);
    record = find(window);
    if (record) {
        video_.destroyWindow(record->sdl);
        windows_.erase(window);
    }
    creationOrder_.erase(std::remove(creationOrder_.begin(), creationOrder_.end(), window), creationOrder_.end());
    return true;
}

bool WindowManager::move(HWND window, int x, int y, int width, int height) {
    WindowRecord* record = find(window);
    if (!record) return false;
    RECT before = record->client();
    record->outer = {x, y, x + std::max(0, width), y + std::max(0, height)};
    RECT after = record->client();
    if (!record->fullScreen)
        video_.setGeometry(record->sdl, after.left, after.top, record->clientWidth(), record->clientHeight());

    bool sized = (before.right - before.left) != (after.right - after.left) ||
                 (before.bottom - before.top) != (after.bottom - after.top);
    bool moved = before.left != after.left || before.top != after.top;
    sendSizeAndMove(window, sized, moved, false);
    return true;
}

bool WindowManager::show(HWND window, int command) {
    WindowRecord* record = find(window);
    if (!record) return false;
    bool wasVisible = record->visible;
    bool visible = command != SW_HIDE;
    if (visible != wasVisible) {
        record->visible = visible;
        video_.show(record->sdl, visible);
        send(window, WM_SHOWWINDOW, visible ? TRUE : FALSE, 0);
    }
    return wasVisible;
}

bool WindowManager::setFullScreen(HWND window, bool fullScreen) {
    WindowRecord* record = find(window);
    if (!record) return false;
    if (!video_.setFullScreen(record->sdl, fullScreen)) return false;
    record->fullScreen = fullScreen;
    if (!fullScreen) {
        RECT client = record->client();
        video_.setGeometry(record->sdl, client.left, client.top, record->clientWidth(), record->clientHeight());
    }
    return true;
}

bool WindowManager::toggleFullScreen(HWND window) {
    WindowRecord* record = find(window);
    return record && setFullScreen(window, !record->fullScreen);
}

bool WindowManager::resizedByUser(HWND window, int clientWidth, int clientHeight) {
    WindowRecord* record = find(window);
    if (!record || record->fullScreen || !(record->style & WS_THICKFRAME)) return false;
    if (clientWidth == record->clientWidth() && clientHeight == record->clientHeight()) return false;
    WindowFrame frame = WindowFrame::forStyle(record->style);
    record->outer.right = record->outer.left + frame.left + clientWidth + frame.right;
    record->outer.bottom = record->outer.top + frame.top + clientHeight + frame.bottom;
    return true;
}

LRESULT WindowManager::send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowRecord* record = find(window);
    if (!record) return 0;
    WNDPROC procedure = record->procedure;
    return procedure(window, message, wParam, lParam);
}

WindowRecord* WindowManager::find(HWND window) {
    auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.get();
}

const WindowRecord* WindowManager::find(HWND window) const {
    auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.get();
}

HWND WindowManager::findBySdlId(uint32_t sdlWindowId) const {
    for (const auto& entry : windows_)
        if (entry.second->sdl && SdlVideo::windowId(entry.second->sdl) == sdlWindowId) return entry.first;
    return nullptr;
}

HWND WindowManager::lastCreated() const { return creationOrder_.empty() ? nullptr : creationOrder_.back(); }

bool WindowManager::anySdlWindow() const {
    return std::any_of(windows_.begin(), windows_.end(), [](const auto& entry) { return entry.second->sdl; });
}

void WindowManager::clear() {
    for (auto& entry : windows_) video_.destroyWindow(entry.second->sdl);
    windows_.clear();
    creationOrder_.clear();
    classes_.clear();
}

}  // namespace velmora::win32
