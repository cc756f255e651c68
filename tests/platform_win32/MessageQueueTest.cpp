// The message pump: order, filters, WM_QUIT, and the frame hook that test scripts use.
#include "Win32TestSupport.h"

#include <mmsystem.h>

using namespace win32test;

namespace {

class MessageQueueTest : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        registerGameClass();
        window = createGameWindow();
        MessageLog::clear();
    }
    HWND window = nullptr;
};

std::vector<UINT> drain(HWND filter = nullptr, UINT first = 0, UINT last = 0) {
    std::vector<UINT> order;
    MSG msg{};
    while (PeekMessageA(&msg, filter, first, last, PM_REMOVE)) order.push_back(msg.message);
    return order;
}

}  // namespace

TEST_F(MessageQueueTest, PostedMessagesComeOutInOrderWithTheirParameters) {
    velmora::headless::setClockMs(1234);
    ASSERT_TRUE(PostMessageA(window, WM_USER + 1, 11, 12));
    ASSERT_TRUE(PostMessageA(window, WM_USER + 2, 21, 22));
    ASSERT_TRUE(PostMessageA(nullptr, WM_APP, 31, 32)) << "a thread message";

    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1));
    EXPECT_EQ(msg.wParam, 11u);
    EXPECT_EQ(msg.lParam, 12);
    EXPECT_EQ(msg.time, 1234u);
    EXPECT_EQ(drain(), (std::vector<UINT>{WM_USER + 2, WM_APP}));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, PeekingWithoutRemovingAndFiltering) {
    PostMessageA(window, WM_USER + 1, 0, 0);
    PostMessageA(nullptr, WM_USER + 2, 0, 0);
    PostMessageA(window, WM_USER + 3, 0, 0);

    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 1)) << "still first";

    EXPECT_EQ(drain(nullptr, WM_USER + 3, WM_USER + 3), (std::vector<UINT>{WM_USER + 3}));
    EXPECT_EQ(drain(reinterpret_cast<HWND>(-1)), (std::vector<UINT>{WM_USER + 2})) << "thread messages only";
    EXPECT_EQ(drain(window), (std::vector<UINT>{WM_USER + 1}));
    EXPECT_TRUE(drain().empty());
}

TEST_F(MessageQueueTest, QuitComesLastAndOnceWithItsExitCode) {
    PostQuitMessage(3);
    PostMessageA(window, WM_USER, 0, 0);

    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE)) << "WM_QUIT passes any range";
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, DispatchCallsTheWindowProcedureAndPostingToNoWindowFails) {
    PostMessageA(window, WM_USER + 7, 70, 71);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(TranslateMessage(&msg));
    DispatchMessageA(&msg);
    ASSERT_EQ(MessageLog::received.size(), 1u);
    EXPECT_EQ(MessageLog::received[0].message, static_cast<UINT>(WM_USER + 7));
    EXPECT_EQ(MessageLog::received[0].wParam, 70u);

    HWND gone = window;
    DestroyWindow(window);
    EXPECT_FALSE(PostMessageA(gone, WM_USER, 0, 0));
    EXPECT_TRUE(drain().empty());
}

TEST_F(MessageQueueTest, TheFrameHookRunsOnEveryEmptyPollWithTheFrameNumber) {
    std::vector<int> frames;
    velmora::headless::onFrame([&](int frame) {
        frames.push_back(frame);
        if (frame == 1) PostMessageA(window, WM_USER, 0, 0);
    });

    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "a message posted by the hook waits for the next poll";
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(frames, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(velmora::headless::framesStarted(), 3);

    velmora::headless::onFrame({});
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(frames.size(), 3u);
    EXPECT_EQ(velmora::headless::framesStarted(), 4);
}

namespace {

// The shape of the game's loop: a message or a frame per pass, frames padded to 16 ms,
// Escape ends it. Returns the frames run.
int runGameLikeLoop(std::vector<int>* framesWithButtonDown) {
    int frames = 0;
    for (;;) {
        MSG msg{};
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            DWORD t0 = timeGetTime();
            if (GetAsyncKeyState(VK_LBUTTON) & 0x8000) framesWithButtonDown->push_back(frames);
            ++frames;
            DWORD t1 = timeGetTime();
            if (t1 - t0 < 16) Sleep(16 - (t1 - t0));
        }
        if (GetAsyncKeyState(VK_ESCAPE) & 0x8000) return frames;
    }
}

}  // namespace

TEST_F(MessageQueueTest, AScriptDrivesAFrameLoopThroughInputAndTheClock) {
    using velmora::headless::setKeyDown;
    velmora::headless::onFrame([](int frame) {
        if (frame == 2) setKeyDown(VK_LBUTTON, true);
        if (frame == 4) setKeyDown(VK_LBUTTON, false);
        if (frame == 6) PostMessageA(velmora::headless::lastCreatedWindow(), WM_USER, 0, 0);
        if (frame == 8) setKeyDown(VK_ESCAPE, true);
    });

    std::vector<int> clicked;
    EXPECT_EQ(runGameLikeLoop(&clicked), 9);
    EXPECT_EQ(clicked, (std::vector<int>{2, 3}));
    EXPECT_EQ(MessageLog::only(WM_USER).size(), 1u);
    EXPECT_EQ(velmora::headless::totalSleptMs(), 9u * 16u) << "idle frames are padded to 16 ms";
    EXPECT_EQ(velmora::headless::clockMs(), 9u * 16u);
}

TEST_F(MessageQueueTest, SimulatedWorkShortensTheSleepAndSlowFramesAreNotPadded) {
    std::vector<int> unused;
    velmora::headless::onFrame([](int frame) {
        if (frame == 3) velmora::headless::setKeyDown(VK_ESCAPE, true);
    });

    velmora::headless::setClockAdvancePerRead(5);
    EXPECT_EQ(runGameLikeLoop(&unused), 4);
    EXPECT_EQ(velmora::headless::totalSleptMs(), 4u * 11u);

    velmora::headless::setKeyDown(VK_ESCAPE, false);
    velmora::headless::onFrame([](int frame) {
        if (frame == 7) velmora::headless::setKeyDown(VK_ESCAPE, true);
    });
    velmora::headless::setClockAdvancePerRead(16);
    EXPECT_EQ(runGameLikeLoop(&unused), 4);
    EXPECT_EQ(velmora::headless::totalSleptMs(), 4u * 11u) << "16 ms of work: no sleep";
}
