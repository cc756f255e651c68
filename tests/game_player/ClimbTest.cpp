// The climb, played: from the title screen through the whole route of the level design
// into the boss's wing, by a pilot that only moves the mouse, clicks and walks. Each run
// starts the virtual clock elsewhere, so the play seeds its random numbers differently.
#include <functional>

#include "Pilot.h"
#include "PlayerTestSupport.h"

using namespace gametest;

namespace {

// Far more than the climb needs: a pilot that gets stuck ends the run here.
const int FRAME_LIMIT = 40000;

// The game from its entry point on the headless backend, scripted frame by frame.
class HeadlessPlay : public GameFixture {
protected:
    // Runs the game until the pilot is done (or the frame limit); `beforeFrame` may
    // change the world before the pilot looks at it.
    void play(Pilot& pilot, DWORD clockStart, std::function<void(int)> beforeFrame = nullptr) {
        GameFixture::play(clockStart, FRAME_LIMIT, [&](int frame) {
            if (beforeFrame) beforeFrame(frame);
            pilot.onFrame(frame);
        });
    }
};

class ClimbTest : public HeadlessPlay, public ::testing::WithParamInterface<DWORD> {};

TEST_P(ClimbTest, ThePilotClimbsFromTheTitleIntoTheBossesWing) {
    Pilot pilot(climbRoute());
    play(pilot, GetParam());

    EXPECT_TRUE(pilot.reachedBossRegion()) << pilot.journal();
    // Every hop of the route was taken, none skipped.
    EXPECT_EQ(pilot.stepIndex(), climbRoute().size() - 1) << pilot.journal();
}

INSTANTIATE_TEST_SUITE_P(TenSeeds, ClimbTest,
                         ::testing::Values(0u, 1000u, 23456u, 99991u, 123457u, 500001u, 777777u, 1234567u,
                                           31415926u, 271828182u));

}  // namespace

namespace {

TEST_F(HeadlessPlay, ADragonflyInTheWayIsCaughtAndItsBallThrownAwayBeforeTheNextHop) {
    Pilot pilot(climbRoute());
    bool placed = false;
    play(pilot, 4242u, [&](int) {
        // On the hall floor, before the shot at rope 0: a dragonfly close by.
        if (placed || pilot.stepIndex() != 1 || !g_sceneManager) return;
        for (CharaBase* object : g_sceneManager->objects) {
            if (object->Kind != KIND_PLAYER || object->Falling != 0) continue;
            const D3DXVECTOR3 p = positionOf(object->TransMatrix);
            g_sceneManager->objects.push_back(new StillFly(p.x - 6.0f, p.y + 1.2f, p.z - 6.0f));
            placed = true;
            break;
        }
    });
    ASSERT_TRUE(placed);
    // Others of the play's own dragonflies may have come by too.
    EXPECT_GE(pilot.dragonfliesCaught(), 1) << pilot.journal();
    EXPECT_EQ(pilot.ballsThrown(), pilot.dragonfliesCaught()) << pilot.journal();
    EXPECT_TRUE(pilot.reachedBossRegion()) << pilot.journal();
}

}  // namespace
