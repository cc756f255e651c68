// Turns SDL's window events into Win32 messages (real backend): the close box posts
// WM_CLOSE, a player's resize of a sizing-border window posts WM_SIZE. Keyboard and
// mouse events only update SDL's state, which GetAsyncKeyState and GetCursorPos poll.
#pragma once

namespace velmora::win32 {

struct Win32Platform;

class EventPump {
public:
    static void pump(Win32Platform& platform);
};

}  // namespace velmora::win32
