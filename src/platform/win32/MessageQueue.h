// The thread's message queue: posted messages in order, and the quit request that
// PostQuitMessage leaves, which is retrieved only once no other message matches.
#pragma once

#include <windows.h>

#include <deque>

namespace velmora::win32 {

class MessageQueue {
public:
    void post(const MSG& message) { messages_.push_back(message); }
    void postQuit(int exitCode);
    // PeekMessage's filters: hWnd null = every message, (HWND)-1 = thread messages only,
    // else that window's; min = max = 0 = every message number.
    bool peek(MSG* out, HWND window, UINT filterMin, UINT filterMax, bool remove);
    void removeMessagesOf(HWND window);
    void clear();

private:
    std::deque<MSG> messages_;
    bool quitPending_ = false;
    int quitCode_ = 0;
};

}  // namespace velmora::win32
