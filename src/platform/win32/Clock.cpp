#include "Clock.h"

#include "velmora/Platform.h"

#include <cerrno>
#include <ctime>
#include <sched.h>

namespace velmora::win32 {

namespace {

// winmm accepts periods from 1 ms up to its reported maximum of 1000 s.
constexpr UINT kMinPeriod = 1;
constexpr UINT kMaxPeriod = 1000000;

ULONGLONG monotonicMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<ULONGLONG>(ts.tv_sec) * 1000u + static_cast<ULONGLONG>(ts.tv_nsec) / 1000000u;
}

void sleepReally(DWORD ms) {
    if (ms == 0) {
        sched_yield();  // Sleep(0) gives up the rest of the time slice
        return;
    }
    timespec left{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&left, &left) != 0 && errno == EINTR) {
    }
}

}  // namespace

DWORD Clock::now() {
    if (!isHeadless()) return static_cast<DWORD>(monotonicMs());  // wraps like the real one
    DWORD value = virtualMs_;
    virtualMs_ += advancePerRead_;
    return value;
}

void Clock::sleep(DWORD ms) {
    totalSlept_ += ms;
    if (isHeadless())
        virtualMs_ += ms;
    else
        sleepReally(ms);
}

MMRESULT Clock::beginPeriod(UINT period) {
    if (period < kMinPeriod || period > kMaxPeriod) return TIMERR_NOCANDO;
    ++periods_[period];
    return TIMERR_NOERROR;
}

MMRESULT Clock::endPeriod(UINT period) {
    auto found = periods_.find(period);
    if (found == periods_.end()) return TIMERR_NOCANDO;
    if (--found->second == 0) periods_.erase(found);
    return TIMERR_NOERROR;
}

}  // namespace velmora::win32
