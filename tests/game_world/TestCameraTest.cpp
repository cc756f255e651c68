// The camera driven by scripted mouse motion: look, follow, trailing and the final fade.
#include <velmora/DrawLog.h>
#include <velmora/HeadlessInput.h>

#include "Application.h"
#include "Graphics.h"
#include "Stage.h"
#include "TestCamera.h"
#include "WorldTestSupport.h"

using namespace gametest;
using namespace worldtest;

namespace {

const float DEG = 0.017453292f;

class CameraTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        camera = add(new TestCamera());
        player = add(new Thing(KIND_PLAYER));
        player->Life = 10;
        player->Active = 1;
        thread = add(new Thing(KIND_SPIDER_LINE));
        boss = add(new Thing(KIND_PILLBUGS));
        boss->Life = 8;
        boss->Active = 1;
    }
    void look(int dx, int dy) {
        velmora::headless::moveMouse(dx, dy);
        camera->Update();
    }
    // One frame as the Stage runs it; false once the play has ended (the camera is gone).
    bool frame() {
        camera->Update();
        camera->Draw();
        return !g_stage.finished;
    }
    int framesUntilTheEnd() {
        for (int frames = 1; frames < 1000; ++frames) {
            if (!frame()) return frames;
        }
        return -1;
    }
    std::vector<int> fadeAlphas() const {
        std::vector<int> alphas;
        for (const velmora::DrawRecord& record : velmora::drawLog().pending()) {
            if (record.kind == velmora::DrawKind::Sprite) alphas.push_back(static_cast<int>(record.sprite.color >> 24));
        }
        return alphas;
    }
    D3DXVECTOR3 eyeOf(const D3DXMATRIX& view) const {
        D3DXMATRIX inverse;
        D3DXMatrixInverse(&inverse, nullptr, &view);
        return positionOf(inverse);
    }
    TestCamera* camera = nullptr;
    Thing* player = nullptr;
    Thing* thread = nullptr;
    Thing* boss = nullptr;
};

TEST_F(CameraTest, StartsBehindLookingDownTheArenaWithTheCursorCaptured) {
    EXPECT_EQ(camera->Kind, KIND_CAMERA);
    EXPECT_EQ(camera->Active, 1);
    EXPECT_EQ(camera->Yaw, 180.0f);
    EXPECT_EQ(camera->Pitch, 0.0f);
    POINT home = {640, 360};
    ClientToScreen(Application::get().window, &home);
    EXPECT_EQ(camera->CursorHome.x, home.x);
    EXPECT_EQ(camera->CursorHome.y, home.y);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, home.x);
    EXPECT_EQ(cursor.y, home.y);
}

TEST_F(CameraTest, TurnsATenthOfADegreePerPixel) {
    look(50, 20);
    EXPECT_NEAR(camera->Yaw, 185.0f, 1e-4f);
    EXPECT_NEAR(camera->Pitch, 2.0f, 1e-5f);
    EXPECT_EQ(camera->Mode, 1);
    D3DXMATRIX yaw, pitch;
    D3DXMatrixRotationY(&yaw, camera->Yaw * DEG);
    D3DXMatrixRotationX(&pitch, camera->Pitch * DEG);
    EXPECT_TRUE(nearlyEqual(camera->RotYMatrix, yaw));
    EXPECT_TRUE(nearlyEqual(camera->RotXMatrix, pitch));
    EXPECT_TRUE(nearlyEqual(camera->TransMatrix, product(pitch, yaw)));

    look(0, 0);
    EXPECT_NEAR(camera->Yaw, 185.0f, 1e-4f);
    EXPECT_EQ(camera->Mode, 0);
    look(-30, -10);
    EXPECT_NEAR(camera->Yaw, 182.0f, 1e-4f);
    EXPECT_NEAR(camera->Pitch, 1.0f, 1e-5f);
    EXPECT_EQ(camera->Mode, 1);
    look(0, 40);
    EXPECT_EQ(camera->Mode, 0) << "only horizontal motion counts as turning";
}

TEST_F(CameraTest, PitchStopsAtEighteenDegreesEitherWay) {
    look(0, 1000);
    EXPECT_EQ(camera->Pitch, 18.0f);
    look(0, 1);
    EXPECT_EQ(camera->Pitch, 18.0f);
    look(0, -5000);
    EXPECT_EQ(camera->Pitch, -18.0f);
    look(0, 5);
    EXPECT_NEAR(camera->Pitch, -17.5f, 1e-5f);
}

TEST_F(CameraTest, YawIsNeverWrappedYetGivesTheSameView) {
    player->TransMatrix = translation(3.0f, 1.0f, 40.0f);
    frame();
    const D3DXMATRIX viewAt180 = camera->AuxMatrix2;
    look(3600, 0);
    camera->Draw();
    EXPECT_NEAR(camera->Yaw, 540.0f, 1e-3f);
    EXPECT_TRUE(nearlyEqual(camera->AuxMatrix2, viewAt180, 1e-3f));
}

TEST_F(CameraTest, ADeadPlayersViewIsFrozenButTheCursorStaysCaptured) {
    look(20, 10);
    player->Life = 0;
    look(80, 30);
    EXPECT_NEAR(camera->Yaw, 182.0f, 1e-4f);
    EXPECT_NEAR(camera->Pitch, 1.0f, 1e-5f);
    EXPECT_EQ(camera->Mode, 1);
    POINT cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor.x, camera->CursorHome.x);
    EXPECT_EQ(cursor.y, camera->CursorHome.y);

    // The motion made while dead is gone, not stored up.
    player->Life = 1;
    look(0, 0);
    EXPECT_NEAR(camera->Yaw, 182.0f, 1e-4f);
}

TEST_F(CameraTest, FollowsBehindAndAboveThePlayer) {
    player->TransMatrix = translation(10.0f, 0.0f, 20.0f);
    frame();
    // Facing -z (yaw 180): the eye is behind at +z, the look-at point ahead at -z.
    expectNear(camera->Move, D3DXVECTOR3(10.0f, 3.0f, 26.0f), "eye");
    expectNear(camera->LookAt, D3DXVECTOR3(10.0f, 2.0f, 14.0f), "look-at");
    expectNear(camera->Up, D3DXVECTOR3(0.0f, 1.0f, 0.0f), "up");
    D3DXMATRIX view;
    Graphics::get().device->GetTransform(D3DTS_VIEW, &view);
    EXPECT_TRUE(nearlyEqual(view, camera->AuxMatrix2, 0.0f));
    expectNear(eyeOf(view), D3DXVECTOR3(10.0f, 3.0f, 26.0f), "view eye");
}

TEST_F(CameraTest, TrailsBehindAPulledPlayerUntilItHasCaughtUp) {
    thread->Anchored = 1;
    for (int z = 0; z <= 9; ++z) {
        player->TransMatrix = translation(0.0f, 0.0f, static_cast<float>(z));
        frame();
        if (z >= 5) {
            EXPECT_EQ(camera->Anchored, 1) << z;
            EXPECT_NEAR(camera->FragValue, 4.0f, 1e-4f) << z;
        }
    }
    // Eye from five frames back, look-at from one frame back.
    expectNear(camera->Move, D3DXVECTOR3(0.0f, 3.0f, 4.0f + 6.0f), "trailing eye");
    expectNear(camera->LookAt, D3DXVECTOR3(0.0f, 2.0f, 8.0f - 6.0f), "trailing look-at");

    // The player stops at z = 9: the lag shrinks by one a frame.
    const float lags[] = {4, 3, 2, 1, 0};
    for (float lag : lags) {
        frame();
        EXPECT_NEAR(camera->FragValue, lag, 1e-4f);
        EXPECT_EQ(camera->Anchored, lag < 1.0f ? 0 : 1) << "lag " << lag;
    }
}

TEST_F(CameraTest, AnchoringBesideAStillPlayerNeedsNoCatchingUp) {
    player->TransMatrix = translation(4.0f, 2.0f, -8.0f);
    for (int i = 0; i < 6; ++i) frame();
    thread->Anchored = 1;
    frame();
    EXPECT_EQ(camera->Anchored, 0);
    EXPECT_EQ(camera->FragValue, 0.0f);
}

TEST_F(CameraTest, APlayerWhoseExplosionEndedFadesToGameOverIn85Frames) {
    const int destroyedBefore = Thing::destroyed;
    player->Active = 0;
    EXPECT_EQ(framesUntilTheEnd(), 85);
    EXPECT_TRUE(objects().empty());
    EXPECT_EQ(Thing::destroyed - destroyedBefore, 3);
    EXPECT_EQ(g_stage.finished, 1);
    EXPECT_EQ(g_stage.cleared, 0);

    const std::vector<int> alphas = fadeAlphas();
    ASSERT_EQ(alphas.size(), 85u) << "data/Texture/back.png";
    for (int i = 0; i < 85; ++i) EXPECT_EQ(alphas[i], 3 * i);
}

TEST_F(CameraTest, ABeatenBossWhoseExplosionEndedFadesToClear) {
    boss->Life = 0;
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(frame());
    EXPECT_EQ(camera->FadeAlpha, 0) << "still exploding";
    boss->Active = 0;
    EXPECT_EQ(framesUntilTheEnd(), 85);
    EXPECT_EQ(g_stage.finished, 1);
    EXPECT_EQ(g_stage.cleared, 1);
}

TEST_F(CameraTest, BothEndingsInOneFrameEndThePlayLost) {
    player->Active = 0;
    boss->Life = -1;
    boss->Active = 0;
    EXPECT_EQ(framesUntilTheEnd(), 43);
    EXPECT_EQ(g_stage.finished, 1);
    EXPECT_EQ(g_stage.cleared, 0);
    const std::vector<int> alphas = fadeAlphas();
    ASSERT_EQ(alphas.size(), 85u);
    EXPECT_EQ(alphas.back(), 252);
}

}  // namespace
