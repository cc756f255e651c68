// Test control of the window system, input and time (tests and tools only; the game
// never includes this). Select the headless backend first:
//   velmora::selectBackend(velmora::Backend::Headless);
//   velmora::headless::resetWin32();
// then either call game pieces directly, or run the game's WinMain and script it frame
// by frame from onFrame():
//   velmora::headless::onFrame([](int frame) {
//       if (frame == 10) velmora::headless::setKeyDown(VK_LBUTTON, true);
//       if (frame == 12) velmora::headless::setKeyDown(VK_LBUTTON, false);
//       if (frame == 600) velmora::headless::setKeyDown(VK_ESCAPE, true);  // ends the loop
//   });
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace velmora::headless {

// --- Keys and mouse buttons, by virtual-key code ('W', VK_ESCAPE, VK_LBUTTON, ...) ---

// A key set down reads as down (0x8000) from GetAsyncKeyState until it is set up again.
// In the real backend scripted keys add to what the keyboard and mouse report.
void setKeyDown(int virtualKey, bool down);
void releaseAllKeys();

// --- Mouse motion (relative, as the game's mouse look uses it) ---

// Adds to the motion that GetCursorPos reports on top of the point last given to
// SetCursorPos; the next SetCursorPos consumes it.
void moveMouse(int dx, int dy);

// --- Message boxes ---

// Answers for the next boxes, in order (IDYES, IDNO, IDOK, ...). A box with no answer
// queued gets its default button. Scripted answers are used in the real backend too,
// where the box is then not shown.
void queueMessageBoxAnswer(int answer);

struct MessageBoxShown {
    std::string text;
    std::string caption;
    UINT type;
    int answer;
};
// Every MessageBoxA call since the last reset, oldest first.
const std::vector<MessageBoxShown>& messageBoxesShown();

// --- Windows, cursor and COM state ---

// The most recently created window that still exists, or null.
HWND lastCreatedWindow();
// What the player clicking the window's close box does: a WM_CLOSE in the queue.
void clickCloseBox(HWND window);
// ShowCursor's display counter (the cursor is visible while it is >= 0).
int cursorShowCount();
// CoInitialize calls not yet balanced by CoUninitialize.
int comInitCount();

// --- The virtual clock (headless backend only) ---

// timeGetTime reads it (less the time the game waited for the player: the pause menu, a
// message box), Sleep advances it. It starts at 0 after a reset.
DWORD clockMs();
void setClockMs(DWORD ms);
void advanceClock(DWORD ms);
// Simulated work: every timeGetTime call advances the clock by this much after reading
// it, so a frame measured between two reads appears to take that long (0 = off).
void setClockAdvancePerRead(DWORD ms);
// The sum of every Sleep since the last reset.
ULONGLONG totalSleptMs();
// The next Present opens the pause menu and the player stays in it for `ms` of the clock.
void holdPauseMenuOpen(DWORD ms);

// --- Frames ---

// Called before each frame of the game's loop: at the moment PeekMessageA finds the
// queue empty (the loop then runs a frame), with the frame's number counted from 0.
// Input set here is what that frame's update reads; messages posted here are delivered
// at the next poll. Runs in both backends. An empty function removes the hook.
void onFrame(std::function<void(int frame)> hook);
// Frames started since the last reset.
int framesStarted();

// Clears all window-system state: window classes and windows (their SDL windows are
// destroyed and SDL video is shut down, so release Direct3D objects first), the message
// queue, scripted input, the cursor counter, message boxes, COM count, timer periods,
// the clock and the frame hook. Call it between tests that run the game.
void resetWin32();

}  // namespace velmora::headless
