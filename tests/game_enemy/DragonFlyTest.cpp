// Dragonflies against the generated arena: where they are born, how they steer, climb
// and flap, how they break apart, and how the thread catches them and a ball destroys
// them, driven through the player's real controls.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <velmora/D3DXCache.h>
#include <velmora/DrawLog.h>
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>

#include "DragonFly.h"
#include "EnemyTestSupport.h"
#include "Player.h"
#include "SpiderLine.h"
#include "TestCamera.h"

using namespace gametest;

namespace {

const float TURN_TOLERANCE = 1e-3f;

// Something of a kind with a life, for the freeze rules.
class LifeHolder : public CharaBase {
public:
    LifeHolder(int kind, int life) {
        Kind = kind;
        Life = life;
        Active = 1;
    }
    void Update() override {}
};

class DragonFlyTest : public EnemyTest {
protected:
    // A dragonfly at `at`, heading `yawDeg`, with the player's target point level with it
    // at `bearingDeg` seen from it, 20 away.
    DragonFly* flyAimedAt(const D3DXVECTOR3& at, float yawDeg, float bearingDeg) {
        const float radians = bearingDeg * 0.017453292f;
        addCameraAndPlayer(at.x + 20.0f * std::sin(radians), at.y - 1.0f, at.z + 20.0f * std::cos(radians));
        DragonFly* fly = add(new DragonFly(0.05f));
        D3DXMATRIX scale, turn, move;
        D3DXMatrixScaling(&scale, 1.2f, 1.2f, 1.2f);
        D3DXMatrixRotationY(&turn, yawDeg * 0.017453292f);
        D3DXMatrixTranslation(&move, at.x, at.y, at.z);
        fly->WorldMatrix = scale * turn * move;
        return fly;
    }

    // Heading change of one update.
    float turnOfOneFrame(DragonFly* fly) {
        const float before = headingOf(fly->WorldMatrix);
        updateOnly({fly});
        return wrap(headingOf(fly->WorldMatrix) - before);
    }
};

struct BirthZone {
    const char* name;
    D3DXVECTOR3 player;
    int xLow, xHigh, yLow, yHigh, zLow, zHigh;
};

TEST_F(DragonFlyTest, IsBornInTheZoneOfThePlayer) {
    const BirthZone zones[] = {
        {"hall", D3DXVECTOR3(0, 5, 0), -35, 36, 1, 9, -30, 31},
        {"high at the back", D3DXVECTOR3(-30, 40, 60), -56, -27, 90, 99, 51, 80},
        {"boss's wing", D3DXVECTOR3(-60, 15, 0), -119, -66, 18, 22, -32, 17},
    };
    for (const BirthZone& zone : zones) {
        addCameraAndPlayer(zone.player.x, zone.player.y, zone.player.z);
        for (unsigned seed = 1; seed <= 25; ++seed) {
            std::srand(seed);
            DragonFly fly(0.05f);
            const D3DXVECTOR3 at = positionOf(fly.WorldMatrix);
            EXPECT_TRUE(at.x >= zone.xLow && at.x <= zone.xHigh) << zone.name << " x " << at.x;
            EXPECT_TRUE(at.y >= zone.yLow && at.y <= zone.yHigh) << zone.name << " y " << at.y;
            EXPECT_TRUE(at.z >= zone.zLow && at.z <= zone.zHigh) << zone.name << " z " << at.z;
            EXPECT_EQ(fly.Active, 1);
            EXPECT_EQ(fly.Kind, KIND_DRAGONFLY);
        }
        for (CharaBase* object : objects()) delete object;
        objects().clear();
    }

    // In the hall the three draws give z, y and x in that order.
    addCameraAndPlayer(0, 5, 0);
    std::srand(77);
    const int r1 = std::rand(), r2 = std::rand(), r3 = std::rand();
    std::srand(77);
    DragonFly fly(0.05f);
    EXPECT_EQ(positionOf(fly.TransMatrix), D3DXVECTOR3(36.0f - r3 % 72, r2 % 9 + 1.0f, 31.0f - r1 % 62));
    EXPECT_FLOAT_EQ(fly.WorldMatrix._11, 1.2f);
}

TEST_F(DragonFlyTest, IsBornAtTheOriginWithoutADrawWhenNoZoneMatchesOrNoPlayerIsThereYet) {
    std::srand(3);
    const int firstDraw = std::rand();

    std::srand(3);
    DragonFly first(0.05f);  // made before the player, as the play's first one is
    EXPECT_EQ(positionOf(first.WorldMatrix), D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(first.Active, 1);

    addCameraAndPlayer(0, 35, 0);  // above the hall's zone, outside the others
    DragonFly outside(0.05f);
    EXPECT_EQ(positionOf(outside.WorldMatrix), D3DXVECTOR3(0, 0, 0));
    EXPECT_EQ(std::rand(), firstDraw);
}

TEST_F(DragonFlyTest, IsBornInactiveAndEmptyWhileThePlayerIsOnTheStartFloor) {
    addCameraAndPlayer(0, 0.5f, 50);
    DragonFly* fly = add(new DragonFly(0.05f));
    EXPECT_EQ(fly->Active, 0);
    EXPECT_EQ(fly->Kind, KIND_BASE);
    EXPECT_EQ(fly->BodyMesh.mesh, nullptr);
    EXPECT_EQ(fly->Sound, nullptr);
    const D3DXMATRIX before = fly->WorldMatrix;
    frame({fly}, {fly});
    EXPECT_EQ(std::memcmp(&before, &fly->WorldMatrix, sizeof before), 0);
    EXPECT_TRUE(velmora::drawLog().lastPresented().empty());
}

TEST_F(DragonFlyTest, LaterDragonfliesReadNoFileTheFirstHasRead) {
    addCameraAndPlayer(0, 5, 0);
    add(new DragonFly(0.05f));
    const velmora::D3DXCacheStats first = velmora::d3dxCacheStats();
    for (int i = 0; i < 20; ++i) add(new DragonFly(0.05f));
    const velmora::D3DXCacheStats later = velmora::d3dxCacheStats();
    EXPECT_EQ(later.meshFilesDecoded, first.meshFilesDecoded);
    EXPECT_EQ(later.imageFilesDecoded, first.imageFilesDecoded);
    // Each still has its own explosion sound with the file's data.
    DragonFly* last = static_cast<DragonFly*>(objects().back());
    ASSERT_NE(last->exploBuffer, nullptr);
    EXPECT_EQ(velmora::audio::stateOf(last->exploBuffer)->dataTag,
              velmora::audio::waveDataTag("data/Sound/SE/ExploSE.wav"));
}

TEST_F(DragonFlyTest, TurnsAtMostOneDegreeAFrameAndSnapsOntoSmallTurns) {
    DragonFly* small = flyAimedAt(D3DXVECTOR3(0, 10, 0), 0.0f, 2.5f);
    EXPECT_NEAR(turnOfOneFrame(small), 2.5f, TURN_TOLERANCE);
    EXPECT_NEAR(small->turn, 2.5f, TURN_TOLERANCE);
}

TEST_F(DragonFlyTest, TurnsOneDegreeTowardAPlayerAtItsSide) {
    DragonFly* fly = flyAimedAt(D3DXVECTOR3(0, 10, 0), 0.0f, -90.0f);
    EXPECT_NEAR(turnOfOneFrame(fly), -1.0f, TURN_TOLERANCE);
}

TEST_F(DragonFlyTest, WrapsATurnOf200DegreesTheShortWayRound) {
    DragonFly* fly = flyAimedAt(D3DXVECTOR3(0, 10, 0), -100.0f, 100.0f);
    EXPECT_NEAR(turnOfOneFrame(fly), -1.0f, TURN_TOLERANCE);
    EXPECT_NEAR(fly->turn, -160.0f, TURN_TOLERANCE);
}

TEST_F(DragonFlyTest, NeverHoldsItsHeightAndStepsForwardAtItsSpeed) {
    DragonFly* fly = flyAimedAt(D3DXVECTOR3(0, 10, 0), 0.0f, 0.0f);
    // Target exactly level: not above it, so it sinks.
    updateOnly({fly});
    EXPECT_NEAR(fly->WorldMatrix._42, 10.0f - 0.024f, 1e-5f);
    EXPECT_NEAR(fly->WorldMatrix._43, 1.2f * 0.05f, 1e-5f);

    player->TransMatrix._42 = fly->WorldMatrix._42 - 0.999f;
    const float height = fly->WorldMatrix._42;
    updateOnly({fly});
    EXPECT_NEAR(fly->WorldMatrix._42, height + 0.024f, 1e-5f);
}

TEST_F(DragonFlyTest, FlapsItsWingsInAFiveFrameCycleAndCastsAShadowOnTheFloor) {
    DragonFly* fly = flyAimedAt(D3DXVECTOR3(0, 10, 0), 0.0f, 0.0f);
    const float frontA[5] = {0, 30, 30, -15, -45};
    const float backB[5] = {-15, -45, 0, 30, 30};
    for (int i = 0; i < 10; ++i) {
        updateOnly({fly});
        const float a = std::atan2(fly->flapA._12, fly->flapA._11) * 57.29578f;
        const float b = std::atan2(fly->flapB._12, fly->flapB._11) * 57.29578f;
        EXPECT_NEAR(a, frontA[i % 5], 1e-3f) << "frame " << i;
        EXPECT_NEAR(b, backB[i % 5], 1e-3f) << "frame " << i;
        const D3DXMATRIX wing = fly->flapB * fly->wingOffset1 * fly->WorldMatrix;
        EXPECT_EQ(std::memcmp(&wing, &fly->wingWorld1, sizeof wing), 0);
    }
    // The hall floor is at height 0; the shadow lies just above it.
    EXPECT_NEAR(fly->ShadowMatrix._42, 0.1f, 1e-3f);

    drawOnly(fly);
    int meshDraws = 0;
    for (const velmora::DrawRecord& record : velmora::drawLog().lastPresented()) {
        meshDraws += record.kind == velmora::DrawKind::IndexedPrimitive;
    }
    // Body, four wings and the shadow.
    EXPECT_GE(meshDraws, 6);
}

TEST_F(DragonFlyTest, AHitExplodesOnceAndBreaksTheBody) {
    addCameraAndPlayer(0, 0, 20);
    DragonFly* fly = add(new DragonFly(0.05f));
    place(fly, 0, 5, 0);
    std::srand(11);
    const int r1 = std::rand(), r2 = std::rand();
    std::rand();
    std::rand();
    const int r5 = std::rand();
    std::srand(11);

    fly->OnHit(fly);
    EXPECT_TRUE(isPlaying(fly->exploBuffer));
    EXPECT_EQ(playCallsOf(fly->exploBuffer), 1u);
    EXPECT_EQ(fly->Dead, 1);
    EXPECT_EQ(fly->Mode, 0);
    EXPECT_EQ(fly->BodyMesh.mesh, nullptr);
    EXPECT_EQ(fly->frontWingMesh.mesh, nullptr);
    EXPECT_EQ(fly->SubMesh.mesh, nullptr);
    EXPECT_FLOAT_EQ(fly->Fragments[0].drift._41, (r2 % 20 - 10) / 10.0f);
    EXPECT_FLOAT_EQ(fly->Fragments[0].drift._43, (r1 % 20 - 10) / 10.0f);
    EXPECT_FLOAT_EQ(fly->Fragments[0].speed, (r5 % 7 + 3) / 10.0f);
    for (const Fragment& piece : fly->Fragments) {
        EXPECT_EQ(piece.active, 1);
        EXPECT_EQ(positionOf(piece.origin), D3DXVECTOR3(0, 5, 0));
    }

    // Struck again while breaking apart, the explosion over: nothing is thrown or heard again.
    fly->exploBuffer->Stop();
    std::srand(99);
    const int firstDraw = std::rand();
    std::srand(99);
    fly->OnHit(fly);
    EXPECT_EQ(std::rand(), firstDraw) << "no pieces thrown again";
    EXPECT_FLOAT_EQ(fly->Fragments[0].speed, (r5 % 7 + 3) / 10.0f);
    EXPECT_EQ(playCallsOf(fly->exploBuffer), 1u);
}

TEST_F(DragonFlyTest, BreaksApartUnderSmokeUntilEveryPieceIsBelowTheFloor) {
    addCameraAndPlayer(0, 0, 20);
    DragonFly* fly = add(new DragonFly(0.05f));
    place(fly, 0, 5, 0);
    fly->OnHit(fly);

    int frames = 0;
    while (fly->Active == 1 && frames < 200) {
        updateOnly({fly});
        const std::vector<const velmora::DrawRecord*> smoke =
            quadsWith(velmora::drawLog().lastPresented(), fly->RiseTexture.texture);
        ASSERT_EQ(smoke.size(), 1u) << "frame " << frames;
        EXPECT_EQ(cellOf(*smoke[0]), std::min(2 * frames, 52)) << "frame " << frames;
        ++frames;
    }
    EXPECT_EQ(fly->Active, 0);
    EXPECT_EQ(fly->Dead, 0);
    EXPECT_EQ(fly->ExploFrame, 0);
    for (const Fragment& piece : fly->Fragments) {
        EXPECT_EQ(piece.active, 0);
        EXPECT_EQ(piece.mesh.mesh, nullptr);
    }
    // Pieces thrown up at 0.3 to 0.9 from height 5 take a while to come down.
    EXPECT_GT(frames, 20);
    updateOnly({fly});
    EXPECT_TRUE(quadsWith(velmora::drawLog().lastPresented(), fly->RiseTexture.texture).empty());
}

TEST_F(DragonFlyTest, TheFarZoneReleasesEveryDragonflyEvenOnesBornThere) {
    addCameraAndPlayer(0, 5, 0);
    DragonFly* before = add(new DragonFly(0.05f));
    place(player, 0, 0, -80);
    updateOnly({before});
    DragonFly* after = add(new DragonFly(0.05f));
    updateOnly({after});
    for (DragonFly* fly : {before, after}) {
        EXPECT_EQ(fly->Active, 0);
        EXPECT_EQ(fly->Mode, 0);
        EXPECT_EQ(fly->BodyMesh.mesh, nullptr);
        EXPECT_EQ(fly->backWingMesh.mesh, nullptr);
    }
    drawOnly(before);
    EXPECT_TRUE(velmora::drawLog().lastPresented().empty());
}

TEST_F(DragonFlyTest, EverythingFreezesWhileThePlayersOrTheBosssLifeIsGone) {
    DragonFly* fly = flyAimedAt(D3DXVECTOR3(0, 10, 0), 0.0f, 45.0f);
    LifeHolder* boss = add(new LifeHolder(KIND_PILLBUGS, 8));
    updateOnly({fly});
    for (int* life : {&player->Life, &boss->Life}) {
        const int kept = *life;
        *life = 0;
        const D3DXMATRIX world = fly->WorldMatrix;
        const D3DXMATRIX wing = fly->flapA;
        for (int i = 0; i < 3; ++i) updateOnly({fly});
        EXPECT_EQ(std::memcmp(&world, &fly->WorldMatrix, sizeof world), 0);
        EXPECT_EQ(std::memcmp(&wing, &fly->flapA, sizeof wing), 0);
        *life = kept;
        updateOnly({fly});
        EXPECT_NE(std::memcmp(&world, &fly->WorldMatrix, sizeof world), 0);
    }
}

// The player on the hall floor with its thread, a dragonfly put in front of it.
class CaughtDragonFlyTest : public DragonFlyTest {
protected:
    void SetUp() override {
        DragonFlyTest::SetUp();
        addCameraAndPlayer(0, 1, 0);
        line = add(new SpiderLine());
        for (int i = 0; i < 60; ++i) frameAll();
        ASSERT_EQ(player->Falling, 0);
    }
    DragonFly* flyAhead(float distance) {
        DragonFly* fly = add(new DragonFly(0.03f));
        const D3DXVECTOR3 p = positionOf(player->TransMatrix);
        // The camera looks down -z at first; the thread leaves 1.2 above the player.
        D3DXMATRIX scale;
        D3DXMatrixScaling(&scale, 1.2f, 1.2f, 1.2f);
        fly->WorldMatrix = scale * translation(p.x, p.y + 1.2f, p.z - distance);
        fly->TransMatrix = translation(p.x, p.y + 1.2f, p.z - distance);
        return fly;
    }
    void click() {
        velmora::headless::setKeyDown(VK_LBUTTON, true);
        frameAll();
        velmora::headless::setKeyDown(VK_LBUTTON, false);
        frameAll();
    }
    SpiderLine* line = nullptr;
};

TEST_F(CaughtDragonFlyTest, FollowsTheThreadExactlyAndIsGoneWithoutAnExplosionWhenItLetsGo) {
    DragonFly* fly = flyAhead(10.0f);
    click();
    int frames = 0;
    while (fly->Caught == 0 && frames++ < 30) frameAll();
    ASSERT_EQ(fly->Caught, 1);
    EXPECT_EQ(fly->EffectOn, 1);
    // The wave shows from the frame of the catch on.
    int waves = static_cast<int>(quadsWith(velmora::drawLog().lastPresented(), fly->SwellTexture.texture).size());

    int carried = 0;
    while (line->Caught == 1 && carried < 200) {
        frameAll();
        waves += !quadsWith(velmora::drawLog().lastPresented(), fly->SwellTexture.texture).empty();
        if (line->Caught == 0) break;
        ++carried;
        EXPECT_EQ(std::memcmp(&fly->WorldMatrix, &line->TransMatrix, sizeof(D3DXMATRIX)), 0) << "frame " << carried;
        EXPECT_EQ(fly->Active, 1);
    }
    EXPECT_EQ(line->BallMode, 1);
    EXPECT_EQ(fly->Active, 0);
    EXPECT_EQ(fly->Dead, 0);
    EXPECT_EQ(playCallsOf(fly->exploBuffer), 0u);
    EXPECT_EQ(player->Life, 10);
    // The damage wave grows to its size in eight frames and is then held hidden.
    EXPECT_EQ(waves, std::min(carried + 2, 8));
}

TEST_F(CaughtDragonFlyTest, AThrownBallDestroysTheDragonflyItPasses) {
    DragonFly* first = flyAhead(10.0f);
    click();
    for (int i = 0; i < 200 && line->BallMode == 0; ++i) frameAll();
    ASSERT_EQ(line->BallMode, 1);
    ASSERT_EQ(first->Active, 0);

    DragonFly* second = flyAhead(15.0f);
    click();
    for (int i = 0; i < 40 && second->Dead == 0; ++i) frameAll();
    EXPECT_EQ(second->Dead, 1);
    EXPECT_TRUE(isPlaying(second->exploBuffer));
    EXPECT_EQ(player->Life, 10);

    // The ball flies on through the breaking body without striking it again.
    D3DXMATRIX drifts[4];
    for (int i = 0; i < 4; ++i) drifts[i] = second->Fragments[i].drift;
    second->exploBuffer->Stop();
    for (int i = 0; i < 5; ++i) frameAll();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(second->Fragments[i].drift, drifts[i]) << "piece " << i;
    EXPECT_EQ(playCallsOf(second->exploBuffer), 1u);
}

TEST_F(CaughtDragonFlyTest, AReelGoneOutOfReachUsesUpItsCatchAndLeavesNoSpeedBehind) {
    DragonFly* fly = flyAhead(10.0f);
    click();
    for (int i = 0; i < 30 && fly->Caught == 0; ++i) frameAll();
    ASSERT_EQ(fly->Caught, 1);
    frameAll();
    ASSERT_GT(line->PullSpeed, 0.0f);
    // Carried off, the player is more than the thread's reach of 60 from the ball.
    place(player, 0, 1, 55);
    frameAll();
    ASSERT_EQ(line->Mode, 0);
    EXPECT_EQ(line->Caught, 1) << "kept until the next shot";
    EXPECT_EQ(line->PullSpeed, 0.0f);
    for (int i = 0; i < 3; ++i) frameAll();
    EXPECT_EQ(fly->Active, 0);
    EXPECT_EQ(fly->Caught, 0);
    EXPECT_EQ(fly->Dead, 0);
    EXPECT_EQ(playCallsOf(fly->exploBuffer), 0u);
}

}  // namespace
