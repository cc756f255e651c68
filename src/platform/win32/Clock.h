// winmm's millisecond timer and Sleep. The real backend reads the monotonic clock and
// really sleeps; the headless one keeps a virtual clock that only Sleep and the tests
// move, so frame pacing is exact and a test never waits.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <map>

namespace velmora::win32 {

class Clock {
public:
    DWORD now();
    void sleep(DWORD ms);

    MMRESULT beginPeriod(UINT period);
    MMRESULT endPeriod(UINT period);

    DWORD virtualNow() const { return virtualMs_; }
    void setVirtual(DWORD ms) { virtualMs_ = ms; }
    void advanceVirtual(DWORD ms) { virtualMs_ += ms; }
    void setAdvancePerRead(DWORD ms) { advancePerRead_ = ms; }
    ULONGLONG totalSlept() const { return totalSlept_; }

private:
    DWORD virtualMs_ = 0;
    DWORD advancePerRead_ = 0;
    ULONGLONG totalSlept_ = 0;
    std::map<UINT, int> periods_;  // period -> begun and not yet ended
};

}  // namespace velmora::win32
