// winmm's millisecond timer and Sleep. The desktop reads the time and sleeps (see
// Desktop); this keeps what both backends share: the periods begun, the time slept, and
// the virtual clock the headless desktop reads, which only Sleep and the tests move.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <map>

namespace velmora::win32 {

class Clock {
public:
    MMRESULT beginPeriod(UINT period);
    MMRESULT endPeriod(UINT period);

    void countSleep(DWORD ms) { totalSlept_ += ms; }
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
    std::map<UINT, int> periods_;  // period -> begun and not yet ended
};

}  // namespace velmora::win32
