// Polled keys, the relative cursor and the cursor display counter.
#include "Win32TestSupport.h"

using namespace win32test;

namespace {

class InputTest : public HeadlessTest {};

bool downNow(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

TEST_F(InputTest, KeysReadDownExactlyWhileHeld) {
    using velmora::headless::setKeyDown;
    const int keys[] = {'W', 'A', 'S', 'D', VK_ESCAPE, VK_LBUTTON};
    for (int key : keys) EXPECT_EQ(GetAsyncKeyState(key), 0) << key;

    setKeyDown('W', true);
    setKeyDown(VK_LBUTTON, true);
    EXPECT_TRUE(downNow('W'));
    EXPECT_LT(GetAsyncKeyState('W'), 0) << "the high bit of a SHORT";
    EXPECT_TRUE(downNow(VK_LBUTTON));
    EXPECT_FALSE(downNow('S'));
    EXPECT_TRUE(downNow('W')) << "reading does not release";

    setKeyDown('W', false);
    EXPECT_FALSE(downNow('W'));
    EXPECT_TRUE(downNow(VK_LBUTTON));
    velmora::headless::releaseAllKeys();
    EXPECT_FALSE(downNow(VK_LBUTTON));

    setKeyDown(0, true);
    setKeyDown(300, true);
    EXPECT_EQ(GetAsyncKeyState(0), 0);
    EXPECT_EQ(GetAsyncKeyState(300), 0);
}

TEST_F(InputTest, CursorIsTheLastSetPointPlusTheMotionSince) {
    ASSERT_TRUE(SetCursorPos(643, 386));
    POINT p{};
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p.x, 643);
    EXPECT_EQ(p.y, 386);

    velmora::headless::moveMouse(30, -5);
    velmora::headless::moveMouse(12, 0);
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(p.x, 643 + 42);
    EXPECT_EQ(p.y, 386 - 5);
    ASSERT_TRUE(GetCursorPos(&p)) << "reading twice does not consume the motion";
    EXPECT_EQ(p.x, 643 + 42);

    SetCursorPos(643, 386);
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 643) << "SetCursorPos consumes the motion";
    EXPECT_EQ(p.y, 386);

    velmora::headless::moveMouse(0, 3600);
    SetCursorPos(10, 10);
    velmora::headless::moveMouse(-1, 1);
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 9);
    EXPECT_EQ(p.y, 11);
    EXPECT_FALSE(GetCursorPos(nullptr));
}

TEST_F(InputTest, ShowCursorCountsLikeWindows) {
    EXPECT_EQ(velmora::headless::cursorShowCount(), 0);
    EXPECT_EQ(ShowCursor(FALSE), -1);
    EXPECT_EQ(ShowCursor(FALSE), -2);
    EXPECT_EQ(ShowCursor(TRUE), -1);
    EXPECT_EQ(ShowCursor(TRUE), 0);
    EXPECT_EQ(ShowCursor(TRUE), 1);
    EXPECT_EQ(velmora::headless::cursorShowCount(), 1);
}
