#include "Clock.h"

#include "Desktop.h"
#include "Win32Platform.h"

namespace velmora::win32 {

namespace {

// winmm accepts periods from 1 ms up to its reported maximum of 1000 s.
constexpr UINT kMinPeriod = 1;
constexpr UINT kMaxPeriod = 1000000;

}  // namespace

void Clock::holdWhile(const std::function<void()>& wait) {
    const DWORD begin = desktop().now();
    wait();
    heldMs_ += desktop().now() - begin;
}

DWORD Clock::gameNow() { return desktop().now() - heldMs_; }

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

using velmora::win32::Win32Platform;

DWORD WINAPI timeGetTime() {
    Win32Platform& platform = Win32Platform::instance();
    return platform.replay.time([&] { return platform.clock.gameNow(); });
}

MMRESULT WINAPI timeBeginPeriod(UINT uPeriod) { return Win32Platform::instance().clock.beginPeriod(uPeriod); }

MMRESULT WINAPI timeEndPeriod(UINT uPeriod) { return Win32Platform::instance().clock.endPeriod(uPeriod); }

void WINAPI Sleep(DWORD dwMilliseconds) {
    Win32Platform::instance().clock.countSleep(dwMilliseconds);
    velmora::win32::desktop().sleep(dwMilliseconds);
}
