// Whole games from the game's entry point on the headless backend, played through real
// input only: won from the title through the stage clear screen back to the title, and
// lost by a player who stands among the dragonflies. Each run starts the virtual clock
// elsewhere, so each play seeds its random numbers differently.
#include <algorithm>

#include <velmora/HeadlessInput.h>

#include "BossFighter.h"
#include "GameFixture.h"

namespace headless = velmora::headless;

namespace {

// Far more than a game needs: a player that gets stuck ends the run here.
const int FRAME_LIMIT = 60000;

int sceneNow() {
    if (!g_sceneManager || !g_sceneManager->currentScene) return -1;
    return g_sceneManager->currentScene->sceneId;
}

using GameTest = gametest::GameFixture;

TEST_F(GameTest, TheBossIsBeatenAndTheGameReturnsToTheTitleInMostPlays) {
    const DWORD clockStarts[10] = {0u, 1000u, 23456u, 99991u, 123457u, 500001u, 777777u, 1234567u, 31415926u,
                                   271828182u};
    int won = 0;
    for (DWORD start : clockStarts) {
        gametest::BossFighter fighter;
        play(start, FRAME_LIMIT, [&](int frame) { fighter.onFrame(frame); });
        if (fighter.won()) {
            ++won;
            EXPECT_TRUE(fighter.sawClearScreen());
            // Only thrown balls hurt the boss, one hit each.
            EXPECT_EQ(fighter.hitsLanded(), 8);
            EXPECT_GE(fighter.ballsThrown(), 8);
        } else {
            ADD_FAILURE() << "clock start " << start << " not won:\n" << fighter.journal();
        }
        resetHeadless();
    }
    EXPECT_GE(won, 8);
}

TEST_F(GameTest, APlayerStandingAmongDragonfliesLosesAndTheGameReturnsToTheTitle) {
    bool sawGameOver = false;
    int gameOverAt = 0;
    bool backAtTitle = false;
    int lowestLife = 10;
    play(4242u, FRAME_LIMIT, [&](int frame) {
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
