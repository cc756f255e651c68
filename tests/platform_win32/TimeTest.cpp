// timeGetTime, the timer resolution and Sleep, on the virtual and the real clock.
#include "Win32TestSupport.h"

#include <mmsystem.h>

using namespace win32test;

namespace {

class TimeTest : public HeadlessTest {};

}  // namespace

TEST_F(TimeTest, SleepAdvancesTheVirtualClockAndNothingElseDoes) {
    EXPECT_EQ(timeGetTime(), 0u);
    EXPECT_EQ(timeGetTime(), 0u);
    Sleep(16);
    EXPECT_EQ(timeGetTime(), 16u);
    velmora::headless::advanceClock(100);
    EXPECT_EQ(timeGetTime(), 116u);
    Sleep(0);
    Sleep(5);
    EXPECT_EQ(timeGetTime(), 121u);
    EXPECT_EQ(velmora::headless::totalSleptMs(), 21u) << "advancing is not sleeping";
}

TEST_F(TimeTest, ElapsedTimeSurvivesTheWrapOfTheMillisecondCounter) {
    velmora::headless::setClockMs(0xFFFFFFF0u);
    DWORD t0 = timeGetTime();
    Sleep(40);
    DWORD t1 = timeGetTime();
    EXPECT_LT(t1, t0);
    EXPECT_EQ(t1 - t0, 40u);
    EXPECT_EQ(t1, 24u);
}

TEST_F(TimeTest, EachReadCanSimulateWork) {
    velmora::headless::setClockAdvancePerRead(7);
    DWORD t0 = timeGetTime();
    DWORD t1 = timeGetTime();
    EXPECT_EQ(t1 - t0, 7u);
    EXPECT_EQ(velmora::headless::clockMs(), 14u);
}

TEST_F(TimeTest, TimerPeriodsMustBePairedAndInRange) {
    EXPECT_EQ(timeBeginPeriod(0), static_cast<MMRESULT>(TIMERR_NOCANDO));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOCANDO)) << "never begun";
    EXPECT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeBeginPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOERROR));
    EXPECT_EQ(timeEndPeriod(1), static_cast<MMRESULT>(TIMERR_NOCANDO));
}

TEST_F(RealBackendTest, TheRealClockFollowsRealSleep) {
    DWORD t0 = timeGetTime();
    Sleep(30);
    DWORD elapsed = timeGetTime() - t0;
    EXPECT_GE(elapsed, 30u);
    EXPECT_LT(elapsed, 1000u);
}
