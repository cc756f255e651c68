#include "MessageQueue.h"

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
