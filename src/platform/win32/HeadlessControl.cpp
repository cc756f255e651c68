// The test controls of velmora/HeadlessInput.h.
#include "Win32Platform.h"
#include "velmora/HeadlessInput.h"
#include "velmora/Platform.h"

namespace velmora::headless {

namespace {

win32::Win32Platform& platform() { return win32::Win32Platform::instance(); }

}  // namespace

void setKeyDown(int virtualKey, bool down) { platform().input.setScriptedKey(virtualKey, down); }
void releaseAllKeys() { platform().input.releaseScriptedKeys(); }
void moveMouse(int dx, int dy) { platform().input.addMotion(dx, dy); }

void queueMessageBoxAnswer(int answer) { answerNextMessageBox(answer); }
const std::vector<MessageBoxShown>& messageBoxesShown() { return platform().messageBoxes.shown(); }

HWND lastCreatedWindow() { return platform().windows.lastCreated(); }
void clickCloseBox(HWND window) {
    if (platform().windows.find(window)) platform().post(window, WM_CLOSE, 0, 0);
}
int cursorShowCount() { return platform().input.showCount(); }
int comInitCount() { return platform().com.initCount(); }

DWORD clockMs() { return platform().clock.virtualNow(); }
void setClockMs(DWORD ms) { platform().clock.setVirtual(ms); }
void advanceClock(DWORD ms) { platform().clock.advanceVirtual(ms); }
void setClockAdvancePerRead(DWORD ms) { platform().clock.setAdvancePerRead(ms); }
ULONGLONG totalSleptMs() { return platform().clock.totalSlept(); }
void holdPauseMenuOpen(DWORD ms) { platform().clock.scriptedMenuMs = ms; }

void onFrame(std::function<void(int frame)> hook) { platform().frames.setHook(std::move(hook)); }
int framesStarted() { return platform().frames.framesStarted(); }

void resetWin32() { platform().reset(); }

}  // namespace velmora::headless

namespace velmora {

void answerNextMessageBox(int answer) { win32::Win32Platform::instance().messageBoxes.queueAnswer(answer); }

}  // namespace velmora
