// The arena, the lifts and the rope anchors, built from the generated game data.
#include <velmora/DrawLog.h>

#include <vector>

#include "Lift.h"
#include "RopeObj.h"
#include "SubField.h"
#include "WorldTestSupport.h"

using namespace gametest;
using namespace worldtest;

namespace {

class FieldTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        g_subField.Load();
        player = add(new Thing(KIND_PLAYER));
        player->TransMatrix = translation(0.0f, 5.0f, 73.0f);
    }
    void TearDown() override {
        g_subField.Release();
        WorldTest::TearDown();
    }
    Lift* addLift(const D3DXVECTOR3& position, const D3DXVECTOR3& axis, int reverse, int legLength) {
        const int spare = 1;
        const float scale = 1.5f;
        return add(new Lift(&position, &axis, &reverse, &spare, &scale, &legLength));
    }
    static void run(Lift* lift, int frames) {
        for (int i = 0; i < frames; ++i) lift->Update();
    }
    Thing* player = nullptr;
};

void expectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance, const char* when) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << when;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << when;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << when;
}

// The world matrices the pending mesh draws gave the effect as "mW".
std::vector<D3DXMATRIX> meshDrawWorlds() {
    std::vector<D3DXMATRIX> worlds;
    for (const velmora::DrawRecord& record : velmora::drawLog().pending()) {
        if (record.kind != velmora::DrawKind::IndexedPrimitive) continue;
        const velmora::LoggedEffectParameter* world = record.effectParameter("mW");
        EXPECT_NE(world, nullptr) << "a mesh drawn without mW";
        if (world) worlds.push_back(D3DXMATRIX(world->values));
    }
    return worlds;
}

TEST_F(FieldTest, ArenaIsDrawnAndTestedAtItsFixedScale) {
    ASSERT_NE(g_subField.mesh.mesh, nullptr) << "data/Field/SubField2.x";
    const D3DXMATRIX expected = scaling(25.0f, 30.0f, 25.0f);
    EXPECT_TRUE(nearlyEqual(g_subField.world, expected, 0.0f));

    g_subField.Draw();
    const std::vector<D3DXMATRIX> worlds = meshDrawWorlds();
    EXPECT_FALSE(worlds.empty());
    for (const D3DXMATRIX& world : worlds) {
        EXPECT_EQ(world._11, 25.0f);
        EXPECT_EQ(world._22, 30.0f);
        EXPECT_EQ(world._33, 25.0f);
    }
}

TEST_F(FieldTest, PlayerStartFallsOntoTheHallFloorBetweenClosedWalls) {
    ASSERT_NE(g_subField.mesh.mesh, nullptr);
    Thing body;
    body.TransMatrix = translation(0.0f, 5.0f, 73.0f);
    int frames = 0;
    while (!body.GroundCheck(&g_subField.world, &g_subField.mesh.mesh, &body.TransMatrix)) {
        ASSERT_LT(++frames, 200) << "never landed";
    }
    EXPECT_NEAR(body.TransMatrix._42, 0.0f, 0.5f);

    body.WorldMatrix = body.TransMatrix;
    for (const D3DXVECTOR3& dir : {D3DXVECTOR3(1, 0, 0), D3DXVECTOR3(-1, 0, 0), D3DXVECTOR3(0, 0, 1),
                                   D3DXVECTOR3(0, 0, -1), D3DXVECTOR3(0, 1, 0)}) {
        body.WallCheck(&g_subField.world, &g_subField.mesh.mesh, &body.WorldMatrix, &dir, 0);
        EXPECT_TRUE(body.Hit) << "open toward " << dir.x << " " << dir.y << " " << dir.z;
    }
}

TEST_F(FieldTest, LiftTurnsAfterLegLengthPlusTwoFramesThenEveryPlusOne) {
    const D3DXVECTOR3 start(20.0f, 84.0f, 29.0f);
    Lift* lift = addLift(start, D3DXVECTOR3(0.0f, 0.0f, 1.0f), 0, 300);
    EXPECT_EQ(lift->Kind, KIND_LIFT);
    EXPECT_EQ(lift->Active, 1);

    run(lift, 301);
    EXPECT_EQ(lift->Mode, 0);
    run(lift, 1);
    EXPECT_EQ(lift->Mode, 1);
    expectNear(lift->Move, start + D3DXVECTOR3(0.0f, 0.0f, 30.2f), 2e-3f, "after the first leg");

    run(lift, 300);
    EXPECT_EQ(lift->Mode, 1);
    run(lift, 1);
    EXPECT_EQ(lift->Mode, 0);
    expectNear(lift->Move, start + D3DXVECTOR3(0.0f, 0.0f, 0.1f), 2e-3f, "after the second leg");

    run(lift, 301);
    EXPECT_EQ(lift->Mode, 1);
    expectNear(lift->Move, start + D3DXVECTOR3(0.0f, 0.0f, 30.2f), 2e-3f, "after the third leg");
}

TEST_F(FieldTest, LiftStepsATenthAlongAnAxisOfAnyLength) {
    const D3DXVECTOR3 start(-33.0f, 72.0f, 0.0f);
    Lift* long_axis = addLift(start, D3DXVECTOR3(0.0f, 7.0f, 0.0f), 0, 650);
    Lift* slanted = addLift(start, D3DXVECTOR3(3.0f, 0.0f, -4.0f), 0, 650);
    Lift* reversed = addLift(start, D3DXVECTOR3(0.5f, 0.0f, 0.0f), 1, 650);
    long_axis->Update();
    slanted->Update();
    reversed->Update();
    expectNear(long_axis->Move - start, D3DXVECTOR3(0.0f, 0.1f, 0.0f), 1e-5f, "long axis");
    expectNear(slanted->Move - start, D3DXVECTOR3(0.06f, 0.0f, -0.08f), 1e-5f, "slanted axis");
    expectNear(reversed->Move - start, D3DXVECTOR3(-0.1f, 0.0f, 0.0f), 1e-5f, "reversed start");
}

TEST_F(FieldTest, LiftMatricesFollowItsPosition) {
    const D3DXVECTOR3 start(9.0f, 40.0f, 81.0f);
    Lift* lift = addLift(start, D3DXVECTOR3(0.0f, 1.0f, 0.0f), 0, 310);
    EXPECT_TRUE(nearlyEqual(lift->WorldMatrix, translation(9.0f, 40.0f, 81.0f), 0.0f));
    EXPECT_EQ(lift->FieldMesh, nullptr);

    lift->Update();
    const D3DXMATRIX place = translation(lift->Move.x, lift->Move.y, lift->Move.z);
    EXPECT_TRUE(nearlyEqual(lift->TransMatrix, place, 0.0f));
    EXPECT_TRUE(nearlyEqual(lift->WorldMatrix, product(scaling(1.5f, 1.5f, 1.5f), place), 0.0f));
    EXPECT_TRUE(nearlyEqual(lift->drawMatrix, product(scaling(1.5f, 1.5f, 1.5f), place), 0.0f));
    EXPECT_EQ(lift->FieldMesh, g_subField.mesh.mesh);

    velmora::resetDrawLog();
    lift->Draw();
    const std::vector<D3DXMATRIX> worlds = meshDrawWorlds();
    EXPECT_FALSE(worlds.empty()) << "data/Field/Lift2.x";
    for (const D3DXMATRIX& world : worlds) EXPECT_TRUE(nearlyEqual(world, lift->drawMatrix, 0.0f));
}

TEST_F(FieldTest, LiftsWaitWhileThePlayerIsInTheFarArea) {
    const D3DXVECTOR3 start(20.0f, 84.0f, 29.0f);
    Lift* lift = addLift(start, D3DXVECTOR3(0.0f, 0.0f, 1.0f), 0, 300);
    run(lift, 250);
    const D3DXVECTOR3 stopped = lift->Move;
    const D3DXMATRIX world = lift->WorldMatrix;

    player->TransMatrix._43 = -77.5f;
    run(lift, 100);
    EXPECT_EQ(lift->Move, stopped);
    EXPECT_TRUE(nearlyEqual(lift->WorldMatrix, world, 0.0f));
    EXPECT_EQ(lift->legFrames, 250);

    // It resumes where it stopped: the turn still comes after 302 moving frames.
    player->TransMatrix._43 = -77.0f;
    run(lift, 51);
    EXPECT_EQ(lift->Mode, 0);
    run(lift, 1);
    EXPECT_EQ(lift->Mode, 1);
    expectNear(lift->Move, start + D3DXVECTOR3(0.0f, 0.0f, 30.2f), 2e-3f, "after resuming");
}

TEST_F(FieldTest, RiderStaysInPlaceOnAMovingLift) {
    Lift* lift = addLift(D3DXVECTOR3(20.0f, 84.0f, 29.0f), D3DXVECTOR3(0.0f, 0.0f, 1.0f), 0, 300);
    ASSERT_NE(lift->BoxMesh.mesh, nullptr) << "data/Field/LiftBox.x";
    lift->Update();  // scaled like a lift that has been running
    Thing* rider = add(new Thing(KIND_BASE));
    rider->TransMatrix = translation(lift->Move.x + 0.5f, lift->Move.y + 1.0f, lift->Move.z + 0.5f);
    // The rider updates before the lift, as the player does in a play.
    for (int frame = 0; frame < 700; ++frame) {
        rider->Move = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        ASSERT_TRUE(rider->RideOn(lift)) << "fell off at frame " << frame;
        lift->Update();
        const D3DXVECTOR3 offset = positionOf(rider->TransMatrix) - lift->Move;
        ASSERT_NEAR(offset.z, 0.5f, 0.01f) << "frame " << frame;
    }
}

TEST_F(FieldTest, RopeIsPlacedOnceAndNeverMoves) {
    const D3DXVECTOR3 position(-25.0f, 110.0f, 75.0f);
    const float roll = 90.0f;
    const float yaw = 90.0f;
    RopeObj* rope = add(new RopeObj(&position, &roll, &yaw));
    EXPECT_EQ(rope->Kind, KIND_ROPE);
    EXPECT_EQ(rope->Active, 1);
    EXPECT_NE(rope->BoxMesh.mesh, nullptr) << "data/Field/RopeObjectBox.x";

    D3DXMATRIX rollMatrix, yawMatrix;
    D3DXMatrixRotationZ(&rollMatrix, D3DX_PI / 2);
    D3DXMatrixRotationY(&yawMatrix, D3DX_PI / 2);
    const D3DXMATRIX expected = product(product(product(rollMatrix, yawMatrix), scaling(25.0f, 30.0f, 25.0f)),
                                        translation(-25.0f, 110.0f, 75.0f));
    EXPECT_TRUE(nearlyEqual(rope->WorldMatrix, expected, 1e-4f));

    const D3DXMATRIX placed = rope->WorldMatrix;
    for (int i = 0; i < 10; ++i) rope->Update();
    EXPECT_TRUE(nearlyEqual(rope->WorldMatrix, placed, 0.0f));
}

}  // namespace
