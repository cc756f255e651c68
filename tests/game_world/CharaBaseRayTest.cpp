// Gravity, walls, riding, sliding along walls and debris against real meshes.
#include <cmath>

#include "Mesh.h"
#include "Graphics.h"
#include "WorldTestSupport.h"

using namespace gametest;
using namespace worldtest;

namespace {

class RayTest : public WorldTest {
protected:
    void load(Mesh& mesh, const std::string& path) {
        ASSERT_TRUE(mesh.load(Graphics::get().device, path.c_str())) << path;
    }
    D3DXMATRIX identity() {
        D3DXMATRIX m;
        D3DXMatrixIdentity(&m);
        return m;
    }
    Mesh ground;
};

// The ground is the plane y = 0 of a mesh drawn at the arena's scale (25, 30, 25), so
// that distances prove to be world distances whatever the mesh's scaling.
class GroundTest : public RayTest {
protected:
    void SetUp() override {
        RayTest::SetUp();
        load(ground, writePlane("ground", 1, 0.0f, 4.0f));
        groundWorld = scaling(25.0f, 30.0f, 25.0f);
    }
    BOOL check(Thing& thing) { return thing.GroundCheck(&groundWorld, &ground.mesh, &thing.TransMatrix); }
    D3DXMATRIX groundWorld;
};

TEST_F(GroundTest, FallingGainsSpeedUntilItHasReachedTheLimit) {
    Thing thing;
    thing.TransMatrix = translation(3.0f, 40.0f, -2.0f);
    float previous = thing.TransMatrix._42;
    for (int frame = 0; frame < 70; ++frame) {
        EXPECT_FALSE(check(thing));
        const float expected = frame < 57 ? 0.008f * frame : 0.456f;
        EXPECT_NEAR(previous - thing.TransMatrix._42, expected, 1e-4f) << "frame " << frame;
        EXPECT_EQ(thing.Falling, 1);
        previous = thing.TransMatrix._42;
    }
    EXPECT_NEAR(thing.FallSpeed, 0.456f, 1e-4f);
    EXPECT_FLOAT_EQ(thing.TransMatrix._41, 3.0f);
    EXPECT_FLOAT_EQ(thing.TransMatrix._43, -2.0f);
}

TEST_F(GroundTest, DistanceIsMeasuredInWorldUnits) {
    Thing thing;
    thing.TransMatrix = translation(0.0f, 7.0f, 0.0f);
    check(thing);
    EXPECT_TRUE(thing.Hit);
    EXPECT_NEAR(thing.HitDist, 7.0f, 1e-4f);
}

TEST_F(GroundTest, LandingReportsOnceThenStandsStill) {
    Thing thing;
    thing.TransMatrix = translation(0.0f, 3.0f, 0.0f);
    int frames = 0;
    while (!check(thing)) {
        ASSERT_LT(++frames, 100) << "never landed";
        EXPECT_GT(thing.TransMatrix._42, 0.0f) << "fell through";
    }
    EXPECT_LE(thing.HitDist, 0.5f);
    EXPECT_EQ(thing.FallSpeed, 0.0f);
    EXPECT_EQ(thing.Falling, 0);

    const float standing = thing.TransMatrix._42;
    for (int i = 0; i < 5; ++i) EXPECT_FALSE(check(thing));
    EXPECT_EQ(thing.TransMatrix._42, standing);
    EXPECT_EQ(thing.Falling, 0);
}

TEST_F(GroundTest, UnderTheGroundClimbsBackByMostOfTheLastDistance) {
    Thing thing;
    thing.TransMatrix = translation(0.0f, 10.0f, 0.0f);
    check(thing);
    check(thing);
    ASSERT_EQ(thing.Falling, 1);
    const float lastDistance = thing.HitDist;

    thing.TransMatrix._42 = -2.0f;
    EXPECT_TRUE(check(thing));
    EXPECT_FALSE(thing.Hit);
    EXPECT_NEAR(thing.TransMatrix._42, -2.0f + 0.8f * lastDistance, 1e-4f);
    EXPECT_EQ(thing.FallSpeed, 0.0f);
    EXPECT_EQ(thing.Falling, 0);
}

TEST_F(GroundTest, ShadowSitsJustAboveTheGroundBelow) {
    Thing thing;
    thing.WorldMatrix = translation(1.0f, 6.0f, 1.0f);
    thing.ShadowMatrix = thing.WorldMatrix;
    thing.PlaceShadow(&groundWorld, &ground.mesh, &thing.WorldMatrix);
    EXPECT_NEAR(thing.ShadowMatrix._42, 0.1f, 1e-4f);

    // Off the ground: the shadow stays where it was.
    thing.WorldMatrix = translation(500.0f, 6.0f, 1.0f);
    thing.PlaceShadow(&groundWorld, &ground.mesh, &thing.WorldMatrix);
    EXPECT_NEAR(thing.ShadowMatrix._42, 0.1f, 1e-4f);
}

TEST_F(GroundTest, FragmentsAreTestedOneAtATime) {
    Thing thing;
    thing.FragIndex = 2;
    EXPECT_TRUE(thing.FragmentGroundCheck(&groundWorld, &ground.mesh)) << "an inactive piece is done";

    Fragment& piece = thing.Fragments[2];
    piece.active = 1;
    piece.origin = translation(2.0f, 4.0f, 2.0f);
    EXPECT_TRUE(thing.FragmentGroundCheck(&groundWorld, &ground.mesh));
    EXPECT_TRUE(piece.rayHit);
    EXPECT_NEAR(piece.rayDist, 4.0f, 1e-4f);
    EXPECT_FALSE(thing.Hit) << "the object's own ray state is not used";

    piece.origin = translation(300.0f, 4.0f, 2.0f);
    EXPECT_FALSE(thing.FragmentGroundCheck(&groundWorld, &ground.mesh));
    EXPECT_FALSE(piece.rayHit);
}

// A wall in the plane x = 10; the object stands at x = 8, looking along +x.
class WallTest : public RayTest {
protected:
    void SetUp() override {
        RayTest::SetUp();
        load(wall, writePlane("wall", 0, 10.0f, 20.0f));
        wallWorld = identity();
        thing.WorldMatrix = translation(8.0f, 1.0f, 2.0f);
    }
    BOOL check(int side, const D3DXVECTOR3& dir = D3DXVECTOR3(1.0f, 0.0f, 0.0f)) {
        return thing.WallCheck(&wallWorld, &wall.mesh, &thing.WorldMatrix, &dir, side);
    }
    Mesh wall;
    D3DXMATRIX wallWorld;
    Thing thing;
};

TEST_F(WallTest, NearWallStepsBackAndTurnsBySide) {
    struct Case {
        int side;
        D3DXVECTOR3 step;
        float turn;
    };
    const Case cases[] = {
        {1, D3DXVECTOR3(-0.5f, 0, 0), 2.2689280f}, {-1, D3DXVECTOR3(0.5f, 0, 0), 2.2689280f},
        {2, D3DXVECTOR3(0, -0.5f, 0), 2.2689280f}, {3, D3DXVECTOR3(0, 0, -0.5f), 2.2689280f},
        {-3, D3DXVECTOR3(0, 0, 0.5f), 2.0943952f},
    };
    for (const Case& c : cases) {
        thing.WorldMatrix = translation(8.0f, 1.0f, 2.0f);
        D3DXMatrixIdentity(&thing.RotYMatrix);
        EXPECT_TRUE(check(c.side)) << "side " << c.side;
        EXPECT_NEAR(thing.HitDist, 2.0f, 1e-4f);
        const D3DXVECTOR3 moved = positionOf(thing.WorldMatrix) - D3DXVECTOR3(8.0f, 1.0f, 2.0f);
        EXPECT_NEAR(moved.x, c.step.x, 1e-5f) << "side " << c.side;
        EXPECT_NEAR(moved.y, c.step.y, 1e-5f) << "side " << c.side;
        EXPECT_NEAR(moved.z, c.step.z, 1e-5f) << "side " << c.side;
        D3DXMATRIX turn;
        D3DXMatrixRotationY(&turn, c.turn);
        EXPECT_TRUE(nearlyEqual(thing.RotYMatrix, turn)) << "side " << c.side;
    }
}

TEST_F(WallTest, SideZeroOnlyReportsAndOtherSidesReportNothing) {
    const D3DXMATRIX before = thing.WorldMatrix;
    EXPECT_TRUE(check(0));
    EXPECT_FALSE(check(-2));
    EXPECT_FALSE(check(7));
    EXPECT_TRUE(nearlyEqual(thing.WorldMatrix, before, 0.0f));
    EXPECT_TRUE(nearlyEqual(thing.RotYMatrix, identity(), 0.0f));
}

TEST_F(WallTest, AWallThreeAwayIsNotNear) {
    thing.WorldMatrix = translation(7.0f, 1.0f, 2.0f);
    EXPECT_FALSE(check(1));
    EXPECT_FLOAT_EQ(thing.HitDist, 3.0f);
    EXPECT_FLOAT_EQ(thing.WorldMatrix._41, 7.0f);
}

TEST_F(WallTest, NothingAheadMeansOutsideTheArena) {
    EXPECT_TRUE(check(1, D3DXVECTOR3(-1.0f, 0.0f, 0.0f)));
    EXPECT_FALSE(thing.Hit);
    EXPECT_FLOAT_EQ(thing.WorldMatrix._41, 8.0f);
}

TEST_F(WallTest, RayAheadTakesItsHeightFromVelocity) {
    thing.TransMatrix = translation(7.0f, 1.0f, 2.0f);
    thing.Move = D3DXVECTOR3(1.0f, 50.0f, 0.0f);  // Move.y is not used
    thing.Velocity = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(thing.RayAhead(&wallWorld, &wall.mesh));
    EXPECT_NEAR(thing.HitDist, 3.0f, 1e-4f);

    thing.TransMatrix = translation(5.0f, 1.0f, 2.0f);
    EXPECT_FALSE(thing.RayAhead(&wallWorld, &wall.mesh)) << "5 ahead is not closer than 4";

    // Climbing steeply toward a wall that ends at y = 20 passes over it.
    thing.TransMatrix = translation(7.0f, 1.0f, 2.0f);
    thing.Velocity = D3DXVECTOR3(0.0f, 10.0f, 0.0f);
    EXPECT_FALSE(thing.RayAhead(&wallWorld, &wall.mesh));
}

// Sliding: a wall in the plane z = 5, the object at z = 4.
class SlideTest : public RayTest {
protected:
    void SetUp() override {
        RayTest::SetUp();
        thing.WorldMatrix = translation(0.0f, 0.0f, 4.0f);
    }
    void slide(const D3DXMATRIX& world, Mesh& mesh) { thing.SlideOnWall(&world, &mesh.mesh, &thing.Move); }
    Thing thing;
    Mesh wall;
};

// A walk into the wall ends 2 - 0.3 = 1.7 in front of it, whatever side the face turns
// to, and keeps its part along the wall; the face normal is taken in world space.
TEST_F(SlideTest, WalkingIntoAWallIsPushedOutAlongItsNormal) {
    struct Walk {
        const char* file;
        float planeZ, planeSize;
        D3DXMATRIX world;
        float alongWall;
    };
    const Walk walks[] = {
        {"slideWall", 5.0f, 20.0f, identity(), 0.0f},
        {"slideWall", 5.0f, 20.0f, identity(), 0.3f},
        // The same wall stored at arena scale.
        {"slideWallScaled", 5.0f / 25.0f, 1.0f, scaling(25.0f, 30.0f, 25.0f), 0.0f},
    };
    for (const Walk& walk : walks) {
        SCOPED_TRACE(std::string(walk.file) + " along " + std::to_string(walk.alongWall));
        Mesh plane;
        load(plane, writePlane(walk.file, 2, walk.planeZ, walk.planeSize));
        thing.Move = D3DXVECTOR3(walk.alongWall, 0.0f, 0.3f);
        slide(walk.world, plane);
        EXPECT_NEAR(thing.Move.x, walk.alongWall, 1e-5f);
        EXPECT_NEAR(thing.Move.y, 0.0f, 1e-5f);
        EXPECT_NEAR(4.0f + thing.Move.z, 5.0f - 1.7f, 1e-4f);
    }
}

TEST_F(SlideTest, NothingChangesAlongTheWallOrFarFromIt) {
    load(wall, writePlane("slideWall", 2, 5.0f, 20.0f));
    thing.Move = D3DXVECTOR3(0.3f, 0.0f, 0.0f);
    slide(identity(), wall);
    EXPECT_EQ(thing.Move, D3DXVECTOR3(0.3f, 0.0f, 0.0f));

    thing.WorldMatrix = translation(0.0f, 0.0f, -10.0f);
    thing.Move = D3DXVECTOR3(0.0f, 0.0f, 0.3f);
    slide(identity(), wall);
    EXPECT_TRUE(thing.Hit);
    EXPECT_EQ(thing.Move, D3DXVECTOR3(0.0f, 0.0f, 0.3f));
}

// A platform box 4 x 1 x 4 drawn at scale 1.5: its top is 0.75 above its position.
class RideTest : public RayTest {
protected:
    void SetUp() override {
        RayTest::SetUp();
        load(platform.BoxMesh, writeBox("platform", D3DXVECTOR3(-2, -0.5f, -2), D3DXVECTOR3(2, 0.5f, 2)));
        platform.WorldMatrix = product(scaling(1.5f, 1.5f, 1.5f), translation(0.0f, 10.0f, 0.0f));
        platform.Velocity = D3DXVECTOR3(0.0f, 0.0f, 0.1f);
        rider.TransMatrix = translation(1.0f, 11.0f, 1.0f);
        rider.FallSpeed = 0.3f;
        rider.Falling = 1;
    }
    Thing platform;
    Thing rider;
};

TEST_F(RideTest, StandingRiderIsCarriedAsFarAsThePlatformMoves) {
    for (int platformMode : {0, 1}) {
        rider.TransMatrix = translation(1.0f, 11.0f, 1.0f);
        rider.Move = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        platform.Mode = platformMode;
        EXPECT_TRUE(rider.RideOn(&platform));
        EXPECT_TRUE(rider.RideHit);
        const float step = platformMode == 0 ? 0.1f : -0.1f;
        EXPECT_NEAR(rider.TransMatrix._43, 1.0f + step, 1e-5f) << "platform mode " << platformMode;
        EXPECT_NEAR(rider.TransMatrix._41, 1.0f, 1e-5f);
        EXPECT_NEAR(rider.TransMatrix._42, 11.0f, 1e-5f);
        EXPECT_EQ(rider.FallSpeed, 0.0f);
        EXPECT_EQ(rider.Falling, 0);
    }
}

TEST_F(RideTest, WalkingRiderIsCarriedOnlyUpAndDown) {
    rider.Mode = 1;
    EXPECT_TRUE(rider.RideOn(&platform));
    EXPECT_NEAR(rider.TransMatrix._43, 1.0f, 1e-5f);

    platform.Velocity = D3DXVECTOR3(0.0f, 0.1f, 0.0f);
    rider.Move = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
    EXPECT_TRUE(rider.RideOn(&platform));
    EXPECT_NEAR(rider.TransMatrix._42, 11.1f, 1e-5f);
    EXPECT_NEAR(rider.TransMatrix._43, 1.0f, 1e-5f);
}

TEST_F(RideTest, OtherRiderModesStopFallingButAreNotCarried) {
    rider.Mode = 2;
    EXPECT_TRUE(rider.RideOn(&platform));
    EXPECT_TRUE(nearlyEqual(rider.TransMatrix, translation(1.0f, 11.0f, 1.0f), 0.0f));
    EXPECT_EQ(rider.FallSpeed, 0.0f);
    EXPECT_EQ(rider.Falling, 0);
}

TEST_F(RideTest, AboveThePlatformTheRiderFalls) {
    rider.TransMatrix = translation(1.0f, 15.0f, 1.0f);
    rider.FallSpeed = 0.1f;
    rider.Falling = 0;
    EXPECT_TRUE(rider.RideOn(&platform));
    EXPECT_NEAR(rider.TransMatrix._42, 14.9f, 1e-5f);
    EXPECT_NEAR(rider.FallSpeed, 0.108f, 1e-6f);
    EXPECT_EQ(rider.Falling, 1);
}

TEST_F(RideTest, BesideThePlatformNothingHappens) {
    rider.TransMatrix = translation(4.0f, 11.0f, 0.0f);
    EXPECT_FALSE(rider.RideOn(&platform));
    EXPECT_FALSE(rider.RideHit);
    EXPECT_EQ(rider.FallSpeed, 0.3f);
    EXPECT_EQ(rider.Falling, 1);
    EXPECT_FLOAT_EQ(rider.TransMatrix._42, 11.0f);
}

}  // namespace
