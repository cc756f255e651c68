#include "MessageQueue.h"

#include "Desktop.h"
#include "Win32Platform.h"

#include <algorithm>

namespace velmora::win32 {

namespace {

const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(static_cast<intptr_t>(-1));

bool windowMatches(HWND messageWindow, HWND filter) {
    if (filter == nullptr) return true;
    if (filter == kThreadMessagesOnly) return messageWindow == nullptr;
    return messageWindow == filter;
}

bool numberMatches(UINT message, UINT filterMin, UINT filterMax) {
    if (filterMin == 0 && filterMax == 0) return true;
    return message >= filterMin && message <= filterMax;
}

}  // namespace

void MessageQueue::postQuit(int exitCode) {
    quitPending_ = true;
    quitCode_ = exitCode;
}

bool MessageQueue::peek(MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove) {
    for (auto it = messages_.begin(); it != messages_.end(); ++it) {
        if (!windowMatches(it->hwnd, window) || !numberMatches(it->message, filterMin, filterMax)) continue;
        *out = *it;
        if (remove) messages_.erase(it);
        return true;
    }
    // WM_QUIT is a thread message and passes any message-number filter.
    if (quitPending_ && (window == nullptr || window == kThreadMessagesOnly)) {
        *out = MSG{};
        out->message = WM_QUIT;
        out->wParam = static_cast<WPARAM>(quitCode_);
        if (remove) quitPending_ = false;
        return true;
    }
    return false;
}

void MessageQueue::removeMessagesOf(HWND window) {
    messages_.erase(std::remove_if(messages_.begin(), messages_.end(),
                                   [window](const MSG& m) { return m.hwnd == window; }),
                    messages_.end());
}

void MessageQueue::clear() {
    messages_.clear();
    quitPending_ = false;
    quitCode_ = 0;
}

}  // namespace velmora::win32

// The message pump: the desktop's window events become messages, posted messages go out in order and
// an empty poll never blocks. The game's loop runs a frame whenever a poll finds nothing,
// which is where test scripts get their turn.
using velmora::win32::Win32Platform;

namespace {

Win32Platform& platform() { return Win32Platform::instance(); }

}  // namespace

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg) return FALSE;
    Win32Platform& p = platform();
    velmora::win32::desktop().pumpEvents();
    if (p.queue.peek(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0)) {
        if (lpMsg->message == WM_QUIT) {
            lpMsg->time = velmora::win32::desktop().now();
            lpMsg->pt = p.input.cursor();
        }
        return TRUE;
    }
    HWND window = p.windows.lastCreated();
    if (!p.replay.frameStarting() && p.windows.find(window)) {
        p.post(window, WM_CLOSE, 0, 0);
        return PeekMessageA(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
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
