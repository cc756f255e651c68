// winmm's millisecond timer and Sleep. The desktop reads the time and sleeps (see
// Desktop); this keeps what both backends share: the periods begun, the time slept, the
// time the game waited for the player, and the virtual clock the headless desktop reads,
// which only Sleep and the tests move.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <functional>
#include <map>

namespace velmora::win32 {

class Clock {
public:
    MMRESULT beginPeriod(UINT period);
    MMRESULT endPeriod(UINT period);

    void countSleep(DWORD ms) { totalSlept_ += ms; }

    // Runs `wait`, in which the game waits for the player (the pause menu, a message box):
    // the game's clock stands still meanwhile, so that nothing moves while it waits and the
    // wait is not taken for a late frame afterwards.
    void holdWhile(const std::function<void()>& wait);
    // timeGetTime: the desktop's time less the time held.
    DWORD gameNow();
    // The pause menu a test opens at the next Present, held open this long (0: none).
    DWORD scriptedMenuMs = 0;
    ULONGLONG totalSlept() const { return totalSlept_; }

    // A read of the virtual clock moves it on by the per-read advance.
    DWORD readVirtual() {
        DWORD value = virtualMs_;
        virtualMs_ += advancePerRead_;
        return value;
    }
    DWORD virtualNow() const { return virtualMs_; }
    void setVirtual(DWORD ms) { virtualMs_ = ms; }
    void advanceVirtual(DWORD ms) { virtualMs_ += ms; }
    void setAdvancePerRead(DWORD ms) { advancePerRead_ = ms; }

private:
    DWORD virtualMs_ = 0;
    DWORD advancePerRead_ = 0;
    ULONGLONG totalSlept_ = 0;
    DWORD heldMs_ = 0;
    std::map<UINT, int> periods_;  // period -> begun and not yet ended
};

}  // namespace velmora::win32
