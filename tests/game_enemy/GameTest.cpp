// Whole games from the game's entry point on the headless backend, played through real
// input only: won from the title through the stage clear screen back to the title, and
// lost by a player who stands among the dragonflies. Each run starts the virtual clock
// elsewhere, so each play seeds its random numbers differently.
#include <functional>

#include <velmora/DrawLog.h>
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include <gtest/gtest.h>

#include "BossFighter.h"
#include "CharaBase.h"
#include "SceneManager.h"

namespace headless = velmora::headless;

namespace {

// Far more than a game needs: a player that gets stuck ends the run here.
const int FRAME_LIMIT = 60000;

int sceneNow() {
    if (!g_sceneManager || !g_sceneManager->currentScene) return -1;
    return g_sceneManager->currentScene->sceneId;
}

class GameTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { reset(); }
    void reset() {
        headless::onFrame(nullptr);
        velmora::selectBackend(velmora::Backend::Headless);
        headless::resetWin32();
        velmora::audio::resetAudio();
        velmora::resetDrawLog();
    }
    // Runs the game from its entry point, `script` giving each frame's input, until
    // the script presses Escape (or the frame limit does).
    void play(DWORD clockStart, std::function<void(int)> script) {
        headless::setClockMs(clockStart);
        headless::queueMessageBoxAnswer(IDNO);  // windowed
        headless::onFrame([&](int frame) {
            script(frame);
            if (frame >= FRAME_LIMIT) headless::setKeyDown(VK_ESCAPE, true);
        });
        WinMain(nullptr, nullptr, nullptr, 0);
        headless::onFrame(nullptr);
    }
};

TEST_F(GameTest, TheBossIsBeatenAndTheGameReturnsToTheTitleInMostPlays) {
    const DWORD clockStarts[10] = {0u, 1000u, 23456u, 99991u, 123457u, 500001u, 777777u, 1234567u, 31415926u,
                                   271828182u};
    int won = 0;
    for (DWORD start : clockStarts) {
        enemytest::BossFighter fighter;
        play(start, [&](int frame) { fighter.onFrame(frame); });
        if (fighter.won()) {
            ++won;
            EXPECT_TRUE(fighter.sawClearScreen());
            // Only thrown balls hurt the boss, one hit each.
            EXPECT_EQ(fighter.hitsLanded(), 8);
            EXPECT_GE(fighter.ballsThrown(), 8);
        } else {
            ADD_FAILURE() << "clock start " << start << " not won:\n" << fighter.journal();
        }
        reset();
    }
    EXPECT_GE(won, 8);
}

TEST_F(GameTest, APlayerStandingAmongDragonfliesLosesAndTheGameReturnsToTheTitle) {
    bool sawGameOver = false;
    int gameOverAt = 0;
    bool backAtTitle = false;
    int lowestLife = 10;
    play(4242u, [&](int frame) {
        if (backAtTitle) {
            headless::setKeyDown(VK_ESCAPE, true);
            return;
        }
        // Through the title; then walk from the start area into the hall and stand.
        if (frame == 10) headless::setKeyDown(VK_LBUTTON, true);
        if (frame == 11) headless::setKeyDown(VK_LBUTTON, false);
        const int scene = sceneNow();
        if (scene == 1 && g_sceneManager) {
            for (CharaBase* object : g_sceneManager->objects) {
                if (object->Kind != KIND_PLAYER) continue;
                headless::setKeyDown('W', object->TransMatrix._43 > 0.0f);
                lowestLife = std::min(lowestLife, object->Life);
            }
        }
        if (scene == 3 && !sawGameOver) {
            sawGameOver = true;
            gameOverAt = frame;
            headless::releaseAllKeys();
        }
        if (sawGameOver && frame == gameOverAt + 30) headless::setKeyDown(VK_LBUTTON, true);
        if (sawGameOver && frame == gameOverAt + 31) headless::setKeyDown(VK_LBUTTON, false);
        if (sawGameOver && scene == 0) backAtTitle = true;
    });
    EXPECT_EQ(lowestLife, 0);
    EXPECT_TRUE(sawGameOver);
    EXPECT_TRUE(backAtTitle);
}

}  // namespace
