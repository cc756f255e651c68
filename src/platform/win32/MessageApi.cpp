// The message pump: SDL's events become messages, posted messages go out in order and
// an empty poll never blocks. The game's loop runs a frame whenever a poll finds nothing,
// which is where test scripts get their turn.
#include "EventPump.h"
#include "Win32Platform.h"
#include "velmora/Platform.h"

#include <windows.h>

using velmora::win32::Win32Platform;

namespace {

Win32Platform& platform() { return Win32Platform::instance(); }

}  // namespace

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg) return FALSE;
    Win32Platform& p = platform();
    velmora::win32::EventPump::pump(p);
    if (p.queue.peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0)) {
        if (lpMsg->message == WM_QUIT) {
            lpMsg->time = p.clock.now();
            lpMsg->pt = p.input.cursor();
        }
        return TRUE;
    }
    p.frames.frameStarting();
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    // Keys are polled, so key messages only appear when posted by hand; they count as
    // translated, as Windows reports them, but no character message follows.
    if (!lpMsg) return FALSE;
    switch (lpMsg->message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP: return TRUE;
        default: return FALSE;
    }
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg || !lpMsg->hwnd) return 0;
    return platform().windows.send(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd && !platform().windows.find(hWnd)) return FALSE;
    platform().post(hWnd, Msg, wParam, lParam);
    return TRUE;
}

void WINAPI PostQuitMessage(int nExitCode) { platform().queue.postQuit(nExitCode); }
