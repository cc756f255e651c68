// The frame loop: steps of 16 ms, shown and unseen, message passes, Escape and the close box.
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include <vector>

#include "Application.h"
#include "GameFixture.h"
#include "ProbeScene.h"

namespace headless = velmora::headless;

class FrameLoopTest : public gametest::GameFixture {
protected:
    // Runs the game with a probe scene doing `workMs` per update for `frames` frames
    // (Escape goes down in the last), returning the virtual clock at each frame's start.
    std::vector<DWORD> runFrames(DWORD workMs, int frames) {
        std::vector<DWORD> starts;
        runWinMain([&](int frame) {
            if (frame == 0) {
                probe = new ProbeScene(workMs);
                installScene(probe);
            }
            starts.push_back(headless::clockMs());
            if (frame == frames - 1) headless::setKeyDown(VK_ESCAPE, true);
        });
        return starts;
    }

    ProbeScene* probe = nullptr;
};

TEST_F(FrameLoopTest, ShortFramesArePaddedToSixteenMilliseconds) {
    ULONGLONG sleptBefore = headless::totalSleptMs();
    std::vector<DWORD> starts = runFrames(5, 6);
    ASSERT_EQ(starts.size(), 6u);
    for (size_t i = 1; i < starts.size(); ++i) EXPECT_EQ(starts[i] - starts[i - 1], 16u) << "frame " << i;
    // Each of the six frames slept the 11 ms its 5 ms of work left over.
    EXPECT_EQ(headless::totalSleptMs() - sleptBefore, 6u * 11u);
}

TEST_F(FrameLoopTest, LateFramesCatchUpWithUnseenStepsAtMostSixAShownFrame) {
    struct Case {
        DWORD presentMs;
        DWORD menuMs;  // the pause menu held open that long, halfway
        int steps;  // in ten seconds of the clock
        int presents;
        int mostStepsPerPresent;
    };
    // Six steps a present cannot keep up with 200 ms presents: the game slows down to
    // 96 ms of play for each (and the ten seconds end before the last five unseen steps).
    // Time in the menu is no lateness: the step after Resume is shown.
    const Case cases[] = {{0, 0, 625, 625, 1}, {40, 0, 625, 250, 3}, {200, 0, 296, 50, 6}, {0, 10000, 625, 625, 1}};
    for (const Case& c : cases) {
        velmora::setPresentDuration(c.presentMs);
        DWORD begin = 0;
        struct {
            int updates, draws, mostUpdatesPerPresent;
            unsigned long presents;
        } seen{};  // the probe's counts as of the last frame: the game deletes it at the end
        runWinMain([&](int frame) {
            if (frame == 0) {
                probe = new ProbeScene(0);
                installScene(probe);
                begin = timeGetTime();
            }
            seen = {probe->updates, probe->draws, probe->mostUpdatesPerPresent, probe->presentsAtLastDraw};
            if (frame == 300) headless::holdPauseMenuOpen(c.menuMs);
            if (timeGetTime() - begin >= 10000) headless::setKeyDown(VK_ESCAPE, true);
        });
        velmora::setPresentDuration(0);
        EXPECT_NEAR(seen.updates, c.steps, 2) << c.presentMs << " ms presents";
        EXPECT_EQ(seen.draws, seen.updates) << "every step draws, seen or not";
        EXPECT_NEAR(double(seen.presents), c.presents, 2) << c.presentMs << " ms presents";
        EXPECT_EQ(seen.mostUpdatesPerPresent, c.mostStepsPerPresent) << c.presentMs << " ms presents";
        resetHeadless();
    }
}

TEST_F(FrameLoopTest, FrameIsUpdateThenPresentThenDraw) {
    runFrames(0, 4);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->updates, 4);
    EXPECT_EQ(probe->draws, 4);
    // The present of a frame comes after its update and before its draw.
    EXPECT_EQ(probe->presentsAtLastDraw, probe->presentsAtLastUpdate + 1);
}

TEST_F(FrameLoopTest, EscapeEndsTheLoopAfterTheFrameItWasPressedIn) {
    runFrames(0, 3);
    EXPECT_EQ(headless::framesStarted(), 3);
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->draws, 3);  // the frame in which Escape went down still finished
}

TEST_F(FrameLoopTest, PendingMessagesRunNoFrameAndTheCloseBoxEndsTheLoop) {
    int result = runWinMain([&](int frame) {
        if (frame == 0) {
            probe = new ProbeScene(0);
            installScene(probe);
        }
        if (frame == 2) {
            HWND window = Application::get().window;
            for (int i = 0; i < 3; ++i) PostMessageA(window, WM_NULL, 0, 0);
            headless::clickCloseBox(window);
        }
    });
    EXPECT_EQ(result, 0);
    // Frame 2 ran, then four message passes, then the loop saw the close request:
    // had any message pass run a frame, there would be more than three.
    EXPECT_EQ(headless::framesStarted(), 3);
    EXPECT_TRUE(Application::get().closeRequested);
    EXPECT_TRUE(Application::get().quitting);
    // The close box does not destroy the window; the process end does.
    EXPECT_EQ(headless::lastCreatedWindow(), Application::get().window);
}

TEST_F(FrameLoopTest, EscapeEndsTheLoopAfterAMessagePassWithMessagesStillPending) {
    ASSERT_TRUE(startApplication());
    g_sceneManager = new SceneManager;
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);

    HWND window = Application::get().window;
    PostMessageA(window, WM_NULL, 0, 0);
    PostMessageA(window, WM_NULL, 0, 0);
    headless::setKeyDown(VK_ESCAPE, true);
    int framesBefore = headless::framesStarted();
    EXPECT_EQ(Application::get().run(), 0);

    EXPECT_EQ(headless::framesStarted(), framesBefore) << "no frame ran";
    // One message was handled by the single pass; the other is still queued.
    EXPECT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}
