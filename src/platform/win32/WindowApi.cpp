// user32's window functions on the window records.
#include "Win32Platform.h"

#include <windows.h>

using velmora::win32::Win32Platform;
using velmora::win32::WindowRecord;

namespace {

Win32Platform& platform() { return Win32Platform::instance(); }

// The system's predefined icons and cursors, and its stock objects, are shared objects
// the game only passes back to Windows: each gets a distinct, stable handle.
char g_stockObjects[20];
char g_systemIcons[7];
char g_systemCursors[17];

constexpr uintptr_t kFirstSystemResource = 32512;  // IDI_APPLICATION, IDC_ARROW
constexpr uintptr_t kFirstSizingCursor = 32640;    // IDC_SIZE ... IDC_HELP

uintptr_t resourceId(LPCSTR name) { return reinterpret_cast<uintptr_t>(name); }

}  // namespace

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx) {
    return lpwcx ? platform().windows.registerClass(*lpwcx) : 0;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance,
                            LPVOID lpParam) {
    HWND window = platform().windows.create(dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight,
                                            hWndParent, hMenu, hInstance, lpParam);
    platform().refreshCursorMode();
    return window;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    if (!platform().windows.destroy(hWnd)) return FALSE;
    platform().queue.removeMessagesOf(hWnd);
    platform().refreshCursorMode();
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL) {
    return platform().windows.move(hWnd, X, Y, nWidth, nHeight) ? TRUE : FALSE;
}

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    const WindowRecord* record = platform().windows.find(hWnd);
    if (!record || !lpRect) return FALSE;
    *lpRect = record->outer;
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    const WindowRecord* record = platform().windows.find(hWnd);
    if (!record || !lpRect) return FALSE;
    *lpRect = {0, 0, record->clientWidth(), record->clientHeight()};
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    const WindowRecord* record = platform().windows.find(hWnd);
    if (!record || !lpPoint) return FALSE;
    RECT client = record->client();
    lpPoint->x += client.left;
    lpPoint->y += client.top;
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    bool wasVisible = platform().windows.show(hWnd, nCmdShow);
    platform().refreshCursorMode();
    return wasVisible ? TRUE : FALSE;
}

BOOL WINAPI UpdateWindow(HWND hWnd) {
    // Nothing is ever left invalid to paint: the device redraws the whole client area
    // every frame, so there is no WM_PAINT to send.
    return platform().windows.find(hWnd) ? TRUE : FALSE;
}

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM, LPARAM) {
    if (Msg == WM_CLOSE) DestroyWindow(hWnd);
    return 0;
}

HGDIOBJ WINAPI GetStockObject(int i) {
    // Indices 0..19 except 9, which Windows leaves unused.
    if (i < 0 || i >= static_cast<int>(sizeof g_stockObjects) || i == 9) return nullptr;
    return reinterpret_cast<HGDIOBJ>(&g_stockObjects[i]);
}

HICON WINAPI LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    // The program has no icon resources of its own; only the system's can be loaded.
    uintptr_t id = resourceId(lpIconName);
    if (hInstance || id < kFirstSystemResource || id >= kFirstSystemResource + sizeof g_systemIcons) return nullptr;
    return reinterpret_cast<HICON>(&g_systemIcons[id - kFirstSystemResource]);
}

HCURSOR WINAPI LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    uintptr_t id = resourceId(lpCursorName);
    if (hInstance) return nullptr;
    if (id >= kFirstSystemResource && id <= kFirstSystemResource + 4)
        return reinterpret_cast<HCURSOR>(&g_systemCursors[id - kFirstSystemResource]);
    if (id >= kFirstSizingCursor && id <= kFirstSizingCursor + 11)
        return reinterpret_cast<HCURSOR>(&g_systemCursors[5 + id - kFirstSizingCursor]);
    return nullptr;
}
