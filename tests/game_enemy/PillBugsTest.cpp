// The boss against the generated arena: its region, walk, turns, hits through both
// forms, its roll and final explosion, its shells, its gun and its gauge.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <velmora/DrawLog.h>

#include "DragonFly.h"
#include "EnemyTestSupport.h"
#include "PillBugs.h"
#include "Player.h"
#include "SpiderLine.h"

using namespace gametest;

namespace {

const float TURN_TOLERANCE = 1e-3f;

class PillBugsTest : public EnemyTest {
protected:
    void SetUp() override {
        EnemyTest::SetUp();
        // Ahead of the boss (which faces +z) on its pit floor, level with its aim.
        addCameraAndPlayer(-93, 14, -20);
        boss = add(new PillBugs());
    }

    // The player put `distance` from the boss at `bearing` degrees off its heading,
    // with the aim point level with the boss.
    void playerAt(float bearing, float distance) {
        const D3DXVECTOR3 at = positionOf(boss->WorldMatrix);
        const float radians = (headingOf(boss->WorldMatrix) + bearing) * 0.017453292f;
        const float across = std::sqrt(distance * distance - 1.0f);
        place(player, at.x + across * std::sin(radians), at.y - 1.0f, at.z + across * std::cos(radians));
    }

    float turnOfOneUpdate() {
        const float before = headingOf(boss->WorldMatrix);
        updateOnly({boss});
        return wrap(headingOf(boss->WorldMatrix) - before);
    }

    void breakGun() {
        for (int i = 0; i < 4; ++i) boss->OnHit(boss);
    }

    // After the fourth hit: the break explosion drawn out, the ball spun up and on the
    // ground, then moved back to the middle of the pit.
    void rollUp() {
        int draws = 0;
        while (boss->WalkForm == 1 && draws < 60) {
            drawOnly(boss);
            ++draws;
        }
        EXPECT_EQ(draws, 52);
        EXPECT_EQ(boss->Dead, 0);
        int spinUp = 0;
        while (boss->RollSpeed < 30.0f && spinUp < 200) {
            updateOnly({boss});
            EXPECT_TRUE(isPlaying(boss->Sounds[PillBugs::FirstRollSound]));
            ++spinUp;
        }
        EXPECT_EQ(spinUp, 101);
        EXPECT_LT(boss->FallSpeed, 0.0f);
        boss->WorldMatrix._41 = -93.0f;
        boss->WorldMatrix._43 = -47.0f;
    }

    PillBugs* boss = nullptr;
};

bool firstBurstInPlace() {
    const int burst = std::rand() % 5;
    std::rand();
    return burst == 4 && std::rand() % 80 != 1;
}

bool firstBurstAlongX() {
    const int burst = std::rand() % 5;
    std::rand();
    return burst == 0 && std::rand() % 80 != 1;
}

bool firstFrameFires() {
    std::rand();
    std::rand();
    return std::rand() % 80 == 1;
}

TEST_F(PillBugsTest, SleepsUnseenUntilThePlayerReachesItsRegionEdge) {
    place(player, -40.9f, 14, -20);
    std::srand(5);
    const int firstDraw = std::rand();
    std::srand(5);
    updateOnly({boss});
    drawOnly(boss);
    EXPECT_TRUE(velmora::drawLog().lastPresented().empty());
    EXPECT_EQ(std::rand(), firstDraw);
    EXPECT_EQ(boss->Mode, 0);

    place(player, -41.0f, 14, -20);
    updateOnly({boss});
    EXPECT_EQ(boss->Mode, 1);
    EXPECT_EQ(spritesOf(velmora::drawLog().lastPresented()).size(), 3u);
    drawOnly(boss);
    EXPECT_FALSE(velmora::drawLog().lastPresented().empty());
}

TEST_F(PillBugsTest, ABurstInPlaceMovesTheLegsAndPlaysTheStepButDoesNotMove) {
    seedWhere(firstBurstInPlace);
    playerAt(45.0f, 20.0f);
    const D3DXVECTOR3 before = positionOf(boss->WorldMatrix);
    const D3DXMATRIX leg = boss->Legs[0].local;
    EXPECT_NEAR(turnOfOneUpdate(), 1.0f, TURN_TOLERANCE);
    EXPECT_EQ(boss->Move, D3DXVECTOR3(0, 0, 0));
    EXPECT_GE(boss->AuxWord3, 24);
    EXPECT_LE(boss->AuxWord3, 48);
    EXPECT_EQ(positionOf(boss->WorldMatrix), before);
    EXPECT_NE(std::memcmp(&leg, &boss->Legs[0].local, sizeof leg), 0);
    EXPECT_TRUE(isPlaying(boss->Sounds[PillBugs::MoveSound]));
}

TEST_F(PillBugsTest, ABurstWalksHalfItsTimerInFramesOfPointTwo) {
    const unsigned seed = seedWhere(firstBurstAlongX);
    // Replay the chosen sequence to learn the burst's timer.
    std::rand();
    const int timer = 50 + std::rand() % 50;
    std::srand(seed);

    const float startX = boss->WorldMatrix._41;
    int walked = 0;
    for (int i = 0; i < 60; ++i) {
        const float x = boss->WorldMatrix._41;
        updateOnly({boss});
        if (boss->WorldMatrix._41 == x) break;
        EXPECT_NEAR(boss->WorldMatrix._41 - x, 0.2f, 1e-4f);
        ++walked;
    }
    EXPECT_EQ(walked, (timer + 1) / 2);
    EXPECT_EQ(boss->Mode, 0);
    EXPECT_NEAR(boss->WorldMatrix._41 - startX, 0.2f * walked, 1e-3f);
}

TEST_F(PillBugsTest, TurnsExactlyOntoAPlayerWithinThreeDegreesAndOneDegreeOtherwise) {
    playerAt(2.5f, 30.0f);
    EXPECT_NEAR(turnOfOneUpdate(), 2.5f, TURN_TOLERANCE);
    EXPECT_NEAR(boss->TurnDelta, 2.5f, TURN_TOLERANCE);
    playerAt(3.0f, 30.0f);
    EXPECT_NEAR(turnOfOneUpdate(), 1.0f, TURN_TOLERANCE);
}

TEST_F(PillBugsTest, ThreeOrdinaryHitsThenTheFourthBlowsTheGunOff) {
    // The first by a thrown ball flying past within reach.
    SpiderLine* line = add(new SpiderLine());
    line->Mode = 1;
    line->BallMode = 1;
    line->Scale = 1.0f;
    D3DXVECTOR3 at = positionOf(boss->WorldMatrix);
    place(line, at.x, at.y, at.z + 6.1f);
    updateOnly({boss});
    EXPECT_EQ(boss->Life, 8);
    at = positionOf(boss->WorldMatrix);
    place(line, at.x, at.y, at.z + 5.9f);
    updateOnly({boss});
    EXPECT_EQ(boss->Life, 7);
    EXPECT_EQ(line->Mode, 0);
    EXPECT_EQ(line->BallMode, 0);

    for (int life : {7, 6}) {
        boss->SwellSize = 0.5f;
        boss->OnHit(boss);
        EXPECT_EQ(boss->Life, life - 1);
        EXPECT_EQ(boss->SwellSize, 0.0f);
    }
    EXPECT_EQ(boss->EffectOn, 1);
    EXPECT_EQ(positionOf(boss->EffectTrans), positionOf(boss->WorldMatrix));
    EXPECT_EQ(playCallsOf(boss->Sounds[PillBugs::DamageSound]), 3u);
    EXPECT_EQ(boss->GunLost, 0);

    std::srand(21);
    int draws[7];
    for (int& draw : draws) draw = std::rand();
    std::srand(21);
    const D3DXVECTOR3 before = positionOf(boss->WorldMatrix);
    boss->OnHit(boss);
    EXPECT_EQ(boss->Life, 4);
    EXPECT_EQ(boss->GunLost, 1);
    EXPECT_EQ(boss->Dead, 1);
    EXPECT_EQ(boss->WalkForm, 1);
    EXPECT_FLOAT_EQ(boss->FallSpeed, 0.8f);
    EXPECT_EQ(positionOf(boss->RiseTrans), before + D3DXVECTOR3(0, 7, 0));
    EXPECT_TRUE(isPlaying(boss->Sounds[PillBugs::ExploSound]));
    EXPECT_FLOAT_EQ(boss->GunDrift._41, (draws[1] % 10 - 10) / 10.0f);
    EXPECT_FLOAT_EQ(boss->GunDrift._43, (draws[0] % 10 - 10) / 10.0f);
    EXPECT_FLOAT_EQ(boss->GunRise, (draws[4] % 7 + 3) / 10.0f);
    EXPECT_EQ(boss->KnockVelocity, D3DXVECTOR3((draws[5] % 20 - 10) / 10.0f, 0, (draws[6] % 20 - 10) / 10.0f));
    EXPECT_EQ(playCallsOf(boss->Sounds[PillBugs::DamageSound]), 3u);
}

TEST_F(PillBugsTest, AHitDuringTheBreakRepeatsItAndTakesOneMoreLife) {
    breakGun();
    for (int i = 0; i < 10; ++i) frame({boss}, {boss});
    EXPECT_LT(boss->FallSpeed, 0.8f);
    EXPECT_GT(boss->ExploFrame, 0);
    const D3DXMATRIX drift = boss->GunDrift;
    std::srand(99);
    boss->OnHit(boss);
    EXPECT_EQ(boss->Life, 3);
    EXPECT_EQ(boss->ExploFrame, 0);
    EXPECT_FLOAT_EQ(boss->FallSpeed, 0.8f);
    EXPECT_EQ(boss->WalkForm, 1);
    EXPECT_NE(std::memcmp(&drift, &boss->GunDrift, sizeof drift), 0);
}

TEST_F(PillBugsTest, TheBrokenBossHopsSpinsUpInPlaceAndThenRollsAfterThePlayer) {
    breakGun();
    const float start = boss->WorldMatrix._42;
    updateOnly({boss});
    EXPECT_NEAR(boss->WorldMatrix._42 - start, 0.8f, 1e-4f);
    updateOnly({boss});
    EXPECT_NEAR(boss->WorldMatrix._42 - start, 0.8f + 0.77f, 1e-4f);
    EXPECT_EQ(std::memcmp(&boss->BallDrawMatrix, &boss->WorldMatrix, sizeof(D3DXMATRIX)), 0);

    boss->FallSpeed = 0.8f;
    boss->WorldMatrix._42 = start;
    rollUp();
    EXPECT_EQ(boss->WalkForm, 0);
    const D3DXVECTOR3 before = positionOf(boss->WorldMatrix);
    updateOnly({boss});
    const D3DXVECTOR3 step = positionOf(boss->WorldMatrix) - before;
    EXPECT_NEAR(D3DXVec3Length(&step), 0.63f, 1e-3f);
    EXPECT_TRUE(isPlaying(boss->Sounds[PillBugs::LoopRollSound]));
    EXPECT_TRUE(isPlaying(boss->Sounds[PillBugs::RollOverSound]));
    EXPECT_FALSE(isPlaying(boss->Sounds[PillBugs::FirstRollSound]));
}

TEST_F(PillBugsTest, TheRollingBallTurnsSlowlyWithin30OfThePlayerAndFastFurtherAway) {
    breakGun();
    rollUp();
    // Level with the ball, off to its side, in the middle of the pit.
    for (float distance : {29.0f, 30.0f}) {
        boss->WorldMatrix._41 = -93.0f;
        boss->WorldMatrix._43 = -47.0f;
        place(player, -93.0f + distance, boss->WorldMatrix._42, -47.0f);
        EXPECT_NEAR(turnOfOneUpdate(), distance < 30.0f ? 0.5f : 2.0f, TURN_TOLERANCE) << distance;
        EXPECT_EQ(boss->FragValue, distance);
    }
    playerAt(-2.5f, 40.0f);
    EXPECT_NEAR(turnOfOneUpdate(), -2.5f, TURN_TOLERANCE);
}

TEST_F(PillBugsTest, TheRollingBallCrushesDragonfliesItTouches) {
    breakGun();
    rollUp();
    DragonFly* fly = add(new DragonFly(0.05f));
    const D3DXVECTOR3 at = positionOf(boss->WorldMatrix);
    place(fly, at.x + 1.0f, at.y, at.z + 2.0f);
    updateOnly({boss});
    EXPECT_EQ(fly->Dead, 1);
}

TEST_F(PillBugsTest, ThePlayersDeathSilencesTheRollAndStopsTheBall) {
    breakGun();
    rollUp();
    updateOnly({boss});
    ASSERT_TRUE(isPlaying(boss->Sounds[PillBugs::LoopRollSound]));
    player->Life = 0;
    const D3DXMATRIX world = boss->WorldMatrix;
    updateOnly({boss});
    EXPECT_FALSE(isPlaying(boss->Sounds[PillBugs::LoopRollSound]));
    EXPECT_FALSE(isPlaying(boss->Sounds[PillBugs::RollOverSound]));
    EXPECT_EQ(std::memcmp(&world, &boss->WorldMatrix, sizeof world), 0);
}

TEST_F(PillBugsTest, TheEighthHitExplodesTheBossWhichIsGoneAtThe52ndDraw) {
    breakGun();
    rollUp();
    updateOnly({boss});
    for (int i = 0; i < 3; ++i) boss->OnHit(boss);
    EXPECT_EQ(boss->Life, 1);
    boss->OnHit(boss);
    EXPECT_EQ(boss->Life, 0);
    EXPECT_EQ(boss->Dead, 1);
    EXPECT_EQ(boss->BallMesh.mesh, nullptr);
    EXPECT_EQ(boss->BodyMesh.mesh, nullptr);
    EXPECT_TRUE(isPlaying(boss->Sounds[PillBugs::BossExploSound]));
    EXPECT_FALSE(isPlaying(boss->Sounds[PillBugs::LoopRollSound]));

    updateOnly({boss});
    const std::vector<const velmora::DrawRecord*> sprites = spritesOf(velmora::drawLog().lastPresented());
    ASSERT_EQ(sprites.size(), 3u);
    EXPECT_EQ(sprites[1]->sprite.sourceRect.right, 0);

    for (int draw = 0; draw < 53; ++draw) {
        drawOnly(boss);
        const std::vector<const velmora::DrawRecord*> explosion =
            quadsWith(velmora::drawLog().lastPresented(), boss->RiseTexture.texture);
        if (draw == 51) {
            EXPECT_TRUE(explosion.empty());
            EXPECT_EQ(boss->Active, 0);
            continue;
        }
        ASSERT_EQ(explosion.size(), 1u) << "draw " << draw;
        EXPECT_EQ(cellOf(*explosion[0]), draw % 52) << "draw " << draw;
        // Nine times the size of the gun's explosion.
        const D3DMATRIX& world = explosion[0]->world;
        EXPECT_NEAR(std::sqrt(world._11 * world._11 + world._12 * world._12 + world._13 * world._13), 9.0f, 1e-3f);
        EXPECT_EQ(boss->Active, draw < 51 ? 1 : 0);
    }
}

// A shell fired in the boss's first frame, straight ahead along +z.
class ShellTest : public PillBugsTest {
protected:
    void SetUp() override {
        PillBugsTest::SetUp();
        place(player, -93, 14, 30);  // straight ahead, level with the boss, far off
        seedWhere(firstFrameFires);
        updateOnly({boss});
        ASSERT_EQ(boss->ShellFlying, 1);
    }
    // Where the shell will be after its next step.
    D3DXVECTOR3 nextShellPosition() const {
        return positionOf(boss->ShellMatrix) + D3DXVECTOR3(boss->ShellStep._41, -boss->ShellDrop, boss->ShellStep._43);
    }
    // A point `distance` to the side of the shell's next position, exactly as far as the
    // shell's own distance test will measure it.
    void playerBeside(float distance) {
        const D3DXVECTOR3 shell = nextShellPosition();
        float x = shell.x + distance;
        while (x - shell.x > distance) x = std::nextafter(x, -1e9f);
        while (x - shell.x < distance) x = std::nextafter(x, 1e9f);
        place(player, x, shell.y, shell.z);
    }
};

TEST_F(ShellTest, FliesAheadAtItsSpeedSinkingAThousandthMoreEveryFrame) {
    const D3DXMATRIX gun = boss->GunWorld;
    EXPECT_NEAR(boss->ShellMatrix._42, gun._42, 0.1f);
    for (int n = 2; n <= 20; ++n) {
        const D3DXVECTOR3 before = positionOf(boss->ShellMatrix);
        updateOnly({boss});
        ASSERT_EQ(boss->ShellFlying, 1) << "frame " << n;
        const D3DXVECTOR3 step = positionOf(boss->ShellMatrix) - before;
        EXPECT_NEAR(step.z, 1.3f, 1e-4f);
        EXPECT_NEAR(step.x, 0.0f, 1e-4f);
        EXPECT_NEAR(step.y, -0.001f * (n - 1), 1e-5f) << "frame " << n;
    }
}

TEST_F(ShellTest, HitsThePlayerCloserThanFourButNotAtFour) {
    playerBeside(4.0f);
    updateOnly({boss});
    EXPECT_EQ(boss->ShellFlying, 1);
    EXPECT_EQ(player->Life, 10);

    playerBeside(3.99f);
    updateOnly({boss});
    EXPECT_EQ(boss->ShellFlying, 0);
    EXPECT_EQ(boss->ShellBurst, 1);
    EXPECT_EQ(player->Life, 9);
    EXPECT_TRUE(isPlaying(boss->Sounds[PillBugs::ExploSound]));
}

TEST_F(ShellTest, BurstsOnAStaggeredPlayerWithoutHurtingIt) {
    player->Staggered = 1;
    playerBeside(2.0f);
    updateOnly({boss});
    EXPECT_EQ(boss->ShellBurst, 1);
    EXPECT_EQ(player->Life, 10);
}

TEST_F(ShellTest, PassesAThreadWithoutABallAndBreaksOneWithABall) {
    // Out of the boss's own reach for a ball first.
    for (int i = 0; i < 8; ++i) updateOnly({boss});
    SpiderLine* line = add(new SpiderLine());
    line->Mode = 1;
    const D3DXVECTOR3 shell = nextShellPosition();
    place(line, shell.x + 1.0f, shell.y, shell.z);
    updateOnly({boss});
    EXPECT_EQ(boss->ShellFlying, 1);

    line->BallMode = 1;
    line->Scale = 2.0f;
    const D3DXVECTOR3 next = nextShellPosition();
    place(line, next.x + 1.0f, next.y, next.z);
    updateOnly({boss});
    EXPECT_EQ(boss->ShellBurst, 1);
    EXPECT_EQ(line->BallMode, 0);
    EXPECT_EQ(line->Mode, 0);
    EXPECT_EQ(line->Fragments[0].active, 1);
}

TEST_F(PillBugsTest, TheGaugesRedBarRunsDownAPixelAFrameBehindTheLifeBar) {
    boss->OnHit(boss);
    for (int i = 0; i < 50; ++i) updateOnly({boss});
    ASSERT_EQ(boss->GaugeShown, 350);
    boss->OnHit(boss);
    for (int i = 0; i <= 50; ++i) {
        updateOnly({boss});
        const std::vector<const velmora::DrawRecord*> sprites = spritesOf(velmora::drawLog().lastPresented());
        ASSERT_EQ(sprites.size(), 3u);
        EXPECT_EQ(sprites[0]->sprite.sourceRect.right, 350 - i);
        EXPECT_EQ(sprites[0]->sprite.color, 0x64FF6464u);
        EXPECT_EQ(sprites[1]->sprite.sourceRect.right, 300);
        EXPECT_EQ(sprites[1]->sprite.sourceRect.top, 10);
        EXPECT_FLOAT_EQ(sprites[1]->sprite.transform._41, 29.0f);
        EXPECT_EQ(sprites[2]->sprite.sourceRect.right, 400);
        EXPECT_FLOAT_EQ(sprites[2]->sprite.transform._42, 10.0f);
    }
    EXPECT_EQ(boss->GaugeShown, 300);
}

TEST_F(PillBugsTest, TheBlownOffGunRisesSlowsFallsAndVanishesAtHeightZero) {
    breakGun();
    const float rise = boss->GunRise;
    EXPECT_TRUE(rise >= 0.3f - 1e-6f && rise <= 0.9f + 1e-6f);
    EXPECT_LE(boss->GunDrift._41, -0.1f + 1e-6f);
    float height = boss->GunWorld._42;
    int frames = 0;
    while (height > 0.0f && frames < 200) {
        updateOnly({boss});
        EXPECT_NEAR(boss->GunWorld._42 - height, rise - 0.05f * frames, 1e-4f) << "frame " << frames;
        height = boss->GunWorld._42;
        ++frames;
    }
    EXPECT_NE(boss->GunMesh.mesh, nullptr);
    updateOnly({boss});
    EXPECT_EQ(boss->GunMesh.mesh, nullptr);
    EXPECT_EQ(boss->GunWorld._42, height);
}

}  // namespace
