// One play as the play scene runs it: building, spawning, drawing and ending.
#include <cmath>
#include <cstdlib>
#include <typeinfo>

#include <velmora/DrawLog.h>
#include <velmora/HeadlessInput.h>

#include "DragonFly.h"
#include "Graphics.h"
#include "Lift.h"
#include "PillBugs.h"
#include "Player.h"
#include "RopeObj.h"
#include "SGame.h"
#include "SpiderLine.h"
#include "Stage.h"
#include "SubField.h"
#include "TestCamera.h"
#include "WorldTestSupport.h"

using namespace gametest;
using namespace worldtest;

namespace {

class StageTest : public WorldTest {
protected:
    void TearDown() override {
        delete game;
        game = nullptr;
        g_stage.release();
        WorldTest::TearDown();
    }
    CharaBase* firstOfKind(int kind) {
        for (CharaBase* object : objects()) {
            if (object->Kind == kind) return object;
        }
        return nullptr;
    }
    // Runs frames as the frame loop does until the scene asks for another one.
    int framesUntilSceneChange(int limit, SceneId* next) {
        for (int frames = 1; frames <= limit; ++frames) {
            *next = game->Update();
            if (*next != 1) return frames;
            game->Draw();
        }
        return -1;
    }
    SGame* game = nullptr;
};

TEST_F(StageTest, InitBuildsTwentyObjectsInTheirFixedOrder) {
    g_stage.init();
    ASSERT_EQ(objects().size(), 20u);
    EXPECT_TRUE(dynamic_cast<TestCamera*>(objects()[0]));
    EXPECT_TRUE(dynamic_cast<DragonFly*>(objects()[1]));
    EXPECT_TRUE(dynamic_cast<PillBugs*>(objects()[2]));
    EXPECT_TRUE(dynamic_cast<Player*>(objects()[3]));
    EXPECT_TRUE(dynamic_cast<SpiderLine*>(objects()[4]));

    const D3DXVECTOR3 liftStarts[] = {{-33, 72, 0}, {20, 84, 29}, {16, 92, 81}, {9, 40, 81}};
    const D3DXVECTOR3 liftAxes[] = {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}, {0, 1, 0}};
    const int liftLegs[] = {650, 300, 310, 310};
    const int liftModes[] = {0, 0, 1, 0};
    for (int i = 0; i < 4; ++i) {
        Lift* lift = dynamic_cast<Lift*>(objects()[5 + i]);
        ASSERT_TRUE(lift) << "index " << 5 + i;
        EXPECT_EQ(lift->Move, liftStarts[i]);
        EXPECT_EQ(lift->Velocity, liftAxes[i]);
        EXPECT_EQ(lift->legLength, liftLegs[i]);
        EXPECT_EQ(lift->Mode, liftModes[i]);
        EXPECT_EQ(lift->Scale, 1.5f);
    }
    const D3DXVECTOR3 ropes[] = {{36, 22, -113}, {2.5f, 36, -149}, {-34, 50, -122}, {-6, 66, -78},
                                 {-18, 65, -36}, {36, 100, 72},    {-25, 110, 75},  {-45, 110, 75},
                                 {-65, 110, 75}, {-85, 110, 75},   {-85, 110, 44}};
    const float ropeYaws[] = {0, 90, 180, 270, 90, 0, 90, 90, 90, 90, 0};
    const float ropeRolls[] = {0, 0, 0, 0, 0, 0, 90, 90, 90, 90, 90};
    for (int i = 0; i < 11; ++i) {
        RopeObj* rope = dynamic_cast<RopeObj*>(objects()[9 + i]);
        ASSERT_TRUE(rope) << "index " << 9 + i;
        const D3DXMATRIX& w = rope->WorldMatrix;
        EXPECT_EQ(positionOf(w), ropes[i]);
        // Yaw: where the rope's own z axis points; roll: how far its up axis leans toward
        // its own -x, the world matrix's rows read without the scaling (25, 30, 25).
        const float yaw = std::atan2(w._31, w._33) * DEGREES;
        EXPECT_NEAR(yaw < -1e-3f ? yaw + 360.0f : yaw, ropeYaws[i], 1e-3f) << "rope " << i;
        const float yawRadians = ropeYaws[i] / DEGREES;
        const float leanToMinusX = -(w._21 * std::cos(yawRadians) - w._23 * std::sin(yawRadians)) / 25.0f;
        EXPECT_NEAR(std::atan2(leanToMinusX, w._22 / 30.0f) * DEGREES, ropeRolls[i], 1e-3f) << "rope " << i;
    }
    EXPECT_NE(g_subField.mesh.mesh, nullptr);
    EXPECT_EQ(g_stage.finished, 0);
}

TEST_F(StageTest, ProjectionFitsTheBackBuffer) {
    g_stage.init();
    const D3DXMATRIX& p = g_stage.projection;
    EXPECT_NEAR(p._22 / p._11, 1280.0f / 720.0f, 1e-5f);
    EXPECT_NEAR(p._22, 1.0f / std::tan(1.0471976f / 2.0f), 1e-5f);
    EXPECT_NEAR(p._33, 180.0f / (180.0f - 2.01f), 1e-5f);
    EXPECT_NEAR(p._43, -2.01f * 180.0f / (180.0f - 2.01f), 1e-4f);
    D3DXMATRIX onDevice;
    Graphics::get().device->GetTransform(D3DTS_PROJECTION, &onDevice);
    EXPECT_TRUE(nearlyEqual(onDevice, p, 0.0f));
}

TEST_F(StageTest, ALongPlayKeepsGainingDragonfliesAndNeverLosesOne) {
    velmora::headless::setClockMs(123456);
    g_stage.init();
    size_t previous = objects().size();
    int spawns = 0;
    for (int frame = 0; frame < 5000; ++frame) {
        g_stage.update();
        // Draw only now and then: a play this long would otherwise be decided.
        if (frame % 100 == 0) g_stage.draw();
        ASSERT_GE(objects().size(), previous) << "frame " << frame;
        ASSERT_LE(objects().size(), previous + 1) << "at most one a frame";
        spawns += static_cast<int>(objects().size() - previous);
        previous = objects().size();
    }
    // About one in 250 frames: 20 expected in 5000.
    EXPECT_GE(spawns, 8);
    EXPECT_LE(spawns, 40);
    for (size_t i = 20; i < objects().size(); ++i) {
        EXPECT_TRUE(dynamic_cast<DragonFly*>(objects()[i])) << "index " << i;
    }
}

TEST_F(StageTest, AFrameBearsADragonflyWhenItsFirstDrawIsAMultipleOf250WithTheNextForItsSpeed) {
    g_stage.init();
    place(firstOfKind(KIND_PLAYER), 0, 5, 0);  // in the hall, where newborns fly at their speed
    int born = 0;
    int notBorn = 0;
    for (unsigned seed = 1; seed < 100000 && (born < 3 || notBorn < 3); ++seed) {
        std::srand(seed);
        const int chance = std::rand();
        const int speed = std::rand();
        const bool birth = chance % 250 == 0;
        int& count = birth ? born : notBorn;
        if (count == 3) continue;
        ++count;
        const size_t before = objects().size();
        std::srand(seed);
        g_stage.update();
        ASSERT_EQ(objects().size(), before + (birth ? 1u : 0u)) << "seed " << seed;
        if (!birth) continue;
        const DragonFly* fly = dynamic_cast<DragonFly*>(objects().back());
        ASSERT_TRUE(fly);
        EXPECT_EQ(fly->Active, 1);
        EXPECT_FLOAT_EQ(fly->Move.z, (speed % 7 + 3) / 100.0f) << "seed " << seed;
    }
    EXPECT_EQ(born, 3);
}

TEST_F(StageTest, DrawClearsDrawsTheArenaFirstAndHandsTheViewToTheShader) {
    g_stage.init();
    Thing* last = add(new Thing());
    g_stage.update();
    g_stage.draw();
    const velmora::DrawFrame& first = velmora::drawLog().pending();
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first[0].kind, velmora::DrawKind::Clear);
    EXPECT_EQ(first[0].clearFlags, static_cast<DWORD>(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL));
    EXPECT_EQ(first[0].clearColor, 0xFF000000u);
    EXPECT_EQ(first[0].clearZ, 1.0f);
    EXPECT_EQ(last->draws, 1);

    const TestCamera* camera = dynamic_cast<TestCamera*>(objects()[0]);
    ASSERT_TRUE(camera);
    EXPECT_TRUE(nearlyEqual(g_stage.view, camera->AuxMatrix2, 0.0f));
    const D3DXMATRIX viewOfFirstFrame = g_stage.view;

    // The next frame's meshes are drawn with what the Stage set at the end of this one.
    velmora::resetDrawLog();
    g_stage.update();
    g_stage.draw();
    const velmora::DrawRecord* arena = nullptr;
    for (const velmora::DrawRecord& record : velmora::drawLog().pending()) {
        if (record.kind == velmora::DrawKind::IndexedPrimitive) {
            arena = &record;
            break;
        }
    }
    ASSERT_NE(arena, nullptr);
    const velmora::LoggedEffectParameter* world = arena->effectParameter("mW");
    ASSERT_NE(world, nullptr);
    EXPECT_TRUE(nearlyEqual(D3DXMATRIX(world->values), g_subField.world, 0.0f)) << "the arena comes first";
    const velmora::LoggedEffectParameter* view = arena->effectParameter("mV");
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(nearlyEqual(D3DXMATRIX(view->values), viewOfFirstFrame, 0.0f));
    const velmora::LoggedEffectParameter* projection = arena->effectParameter("mP");
    ASSERT_NE(projection, nullptr);
    EXPECT_TRUE(nearlyEqual(D3DXMATRIX(projection->values), g_stage.projection, 0.0f));
    const velmora::LoggedEffectParameter* eye = arena->effectParameter("CamPos");
    ASSERT_NE(eye, nullptr);
    D3DXMATRIX inverse;
    D3DXMatrixInverse(&inverse, nullptr, &viewOfFirstFrame);
    EXPECT_NEAR(eye->values[0], inverse._41, 1e-4f);
    EXPECT_NEAR(eye->values[1], inverse._42, 1e-4f);
    EXPECT_NEAR(eye->values[2], inverse._43, 1e-4f);
    const velmora::LoggedEffectParameter* light = arena->effectParameter("LightDir");
    ASSERT_NE(light, nullptr);
    EXPECT_NEAR(light->values[0], std::sqrt(0.5f), 1e-5f);
    EXPECT_NEAR(light->values[1], -std::sqrt(0.5f), 1e-5f);
    const velmora::LoggedEffectParameter* ambient = arena->effectParameter("LightAmbient");
    ASSERT_NE(ambient, nullptr);
    EXPECT_NEAR(ambient->values[0], 0.3f, 1e-6f);
}

TEST_F(StageTest, ThePlayScenesAnswerFollowsTheEndOfThePlay) {
    game = new SGame();
    EXPECT_EQ(game->sceneId, 1);
    EXPECT_EQ(game->Update(), 1);
    game->Draw();
    EXPECT_EQ(game->Update(), 1);
    g_stage.clear();
    EXPECT_TRUE(objects().empty());
    EXPECT_EQ(game->Update(), 2);
    delete game;

    game = new SGame();
    EXPECT_EQ(game->Update(), 1);
    g_stage.gameOver();
    EXPECT_EQ(game->Update(), 3);
}

TEST_F(StageTest, TheCameraEndsThePlayFromInsideTheDrawWalk) {
    game = new SGame();
    add(new Thing());  // drawn after the camera, until the camera ends the play
    const int destroyedBefore = Thing::destroyed;
    firstOfKind(KIND_PLAYER)->Active = 0;

    SceneId next = 1;
    EXPECT_EQ(framesUntilSceneChange(200, &next), 86);
    EXPECT_EQ(next, 3);
    EXPECT_EQ(Thing::destroyed - destroyedBefore, 1);
    EXPECT_TRUE(objects().empty());
}

TEST_F(StageTest, QuittingDuringAPlayDeletesEveryObjectOnce) {
    game = new SGame();
    for (int i = 0; i < 3; ++i) add(new Thing());
    SceneId next = 1;
    framesUntilSceneChange(30, &next);
    const int destroyedBefore = Thing::destroyed;
    delete game;
    game = nullptr;
    EXPECT_EQ(Thing::destroyed - destroyedBefore, 3);
    EXPECT_TRUE(objects().empty());
    EXPECT_EQ(g_subField.mesh.mesh, nullptr);
    EXPECT_TRUE(nearlyEqual(g_subField.world, scaling(25.0f, 30.0f, 25.0f), 0.0f));
}

}  // namespace
