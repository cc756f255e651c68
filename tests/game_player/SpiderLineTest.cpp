// The thread: aiming and shooting with the left button, catching and reeling in, the
// ball and its pieces, anchoring and the pull, reach, lock-on and the drawn strip.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <velmora/DrawLog.h>
#include <velmora/HeadlessInput.h>

#include "Graphics.h"
#include "Lift.h"
#include "Player.h"
#include "PlayerTestSupport.h"
#include "RopeObj.h"
#include "SpiderLine.h"
#include "Stage.h"
#include "TestCamera.h"

using namespace gametest;
namespace headless = velmora::headless;

namespace {

class SpiderLineTest : public PlayerWorld {
protected:
    void SetUp() override {
        PlayerWorld::SetUp();
        standAt(0, 1, 20);
        p = positionOf(player->TransMatrix);
        back = p + D3DXVECTOR3(0, 1.2f, 0);
    }
    unsigned plays(int sound) { return playCallsOf(line->SeBuffers[sound]); }
    bool playing(int sound) { return isPlaying(line->SeBuffers[sound]); }
    D3DXVECTOR3 ball() { return positionOf(line->TransMatrix); }

    // A lift that shuttles slowly along x, centred at `at`.
    Lift* addLift(const D3DXVECTOR3& at) {
        const D3DXVECTOR3 axis(1, 0, 0);
        const int reverse = 0, spare = 1, legLength = 600;
        const float scale = 1.5f;
        return add(new Lift(&at, &axis, &reverse, &spare, &scale, &legLength));
    }
    RopeObj* addRope(const D3DXVECTOR3& at) {
        const float roll = 0.0f, yaw = 0.0f;
        return add(new RopeObj(&at, &roll, &yaw));
    }
    // Runs frames while `going()` holds, at most `limit`; returns how many ran.
    template <class Condition>
    int framesWhile(Condition going, int limit) {
        int frames = 0;
        while (going() && frames < limit) {
            frame();
            ++frames;
        }
        return frames;
    }
    // Frames until the thread is home again, at most `limit`.
    int framesUntilHome(int limit) {
        for (int i = 1; i <= limit; ++i) {
            frame();
            if (line->Mode == 0) return i;
        }
        return -1;
    }
    // Catches the flies placed ahead and waits until the ball is held.
    void catchBall() {
        click();
        ASSERT_GT(framesUntilHome(120), 0);
        ASSERT_EQ(line->BallMode, 1);
    }
    int activePieces() {
        int count = 0;
        for (const Fragment& piece : line->Fragments) count += piece.active;
        return count;
    }
    // The thread strip's two quads as drawn in the last frame (empty if not drawn).
    std::vector<const velmora::DrawRecord*> stripDraws() {
        std::vector<const velmora::DrawRecord*> found;
        for (const velmora::DrawRecord& record : velmora::drawLog().pending()) {
            if (record.kind == velmora::DrawKind::PrimitiveUP && record.texture == line->ThreadTexture.texture &&
                line->ThreadTexture.texture) {
                found.push_back(&record);
            }
        }
        return found;
    }
    std::vector<const velmora::DrawRecord*> guideDraws() {
        std::vector<const velmora::DrawRecord*> found;
        for (const velmora::DrawRecord& record : velmora::drawLog().pending()) {
            if (record.kind == velmora::DrawKind::PrimitiveUP && !record.vertices.empty() &&
                record.vertices[0].diffuse == 0x7DFF0000u) {
                found.push_back(&record);
            }
        }
        return found;
    }
    std::vector<velmora::LoggedSprite> markerDraws() {
        std::vector<velmora::LoggedSprite> found;
        for (const velmora::DrawRecord& record : velmora::drawLog().pending()) {
            if (record.kind == velmora::DrawKind::Sprite && record.sprite.texture == line->MarkerTexture) {
                found.push_back(record.sprite);
            }
        }
        return found;
    }

    D3DXVECTOR3 p;
    D3DXVECTOR3 back;
};

TEST_F(SpiderLineTest, HoldingTheButtonAimsAndSearchesAndReleasingItShoots) {
    EXPECT_EQ(line->Kind, KIND_SPIDER_LINE);
    headless::setKeyDown(VK_LBUTTON, true);
    frames(3);
    EXPECT_EQ(line->Aiming, 1);
    EXPECT_EQ(line->Mode, 0);
    EXPECT_TRUE(playing(SpiderLine::SOUND_SEARCH));
    EXPECT_EQ(plays(SpiderLine::SOUND_LINE), 0u);
    EXPECT_EQ(guideDraws().size(), 2u) << "the guide shows while aiming";

    headless::setKeyDown(VK_LBUTTON, false);
    frame();
    EXPECT_EQ(line->Mode, 1);
    EXPECT_EQ(line->Aiming, 0);
    EXPECT_EQ(line->WaveOn, 1);
    EXPECT_EQ(plays(SpiderLine::SOUND_LINE), 1u);
    EXPECT_EQ(plays(SpiderLine::SOUND_BALL), 0u);
    EXPECT_FALSE(playing(SpiderLine::SOUND_SEARCH));
    // Out of the player's back and one unit along the heading (-z) in the same frame.
    const D3DXVECTOR3 b = ball();
    EXPECT_NEAR(b.x, back.x, 1e-4f);
    EXPECT_NEAR(b.y, back.y, 1e-4f);
    EXPECT_NEAR(b.z, back.z - 1.0f, 1e-4f);
    EXPECT_TRUE(guideDraws().empty()) << "no guide while the thread is out";
    EXPECT_EQ(stripDraws().size(), 2u);
}

TEST_F(SpiderLineTest, AOneFrameClickShoots) {
    click();
    EXPECT_EQ(line->Mode, 1);
    EXPECT_EQ(plays(SpiderLine::SOUND_SEARCH), 1u);
    EXPECT_EQ(plays(SpiderLine::SOUND_LINE), 1u);
}

TEST_F(SpiderLineTest, AShotIntoOpenAirVanishesOnce60FromTheShoulderAnd60LongIsThinner) {
    click();
    int frameOut = 1;
    while (line->Mode == 1 && frameOut < 200) {
        frame();
        ++frameOut;
        if (frameOut == 60) {
            ASSERT_NEAR(line->LineLength, 60.0f, 1e-3f);
            const auto strip = stripDraws();
            ASSERT_EQ(strip.size(), 2u);
            // Flat quad: corners 0 and 1 lie 2h apart in x, with h = 0.05 - 60 x 0.0001.
            EXPECT_NEAR(strip[0]->vertices[1].x - strip[0]->vertices[0].x, 0.088f, 1e-4f);
            EXPECT_NEAR(strip[1]->vertices[1].y - strip[1]->vertices[0].y, 0.088f, 1e-4f);
        }
    }
    // One unit a frame: out for 60 frames, gone in the 61st.
    EXPECT_EQ(frameOut, 61);
    EXPECT_EQ(line->Scale, 0.0f);
    EXPECT_EQ(line->BallMode, 0);
    EXPECT_TRUE(stripDraws().empty());
    frame();
    EXPECT_FALSE(playing(SpiderLine::SOUND_LINE)) << "home without a ball silences the shot";
}

TEST_F(SpiderLineTest, AThreadMeetingAWallSnapsBackAtOnce) {
    standAt(0, 1, 60);
    look(1800, 0);  // face the back wall at z = 88, 28 away
    click();
    float lastZ = ball().z;
    int frames = 1;
    while (line->Mode == 1 && frames < 60) {
        lastZ = ball().z;
        update();
        draw();
        ++frames;
    }
    ASSERT_EQ(line->Mode, 0);
    // Snapped back in the frame that brought the wall within 3 ahead.
    EXPECT_GE(88.0f - lastZ, 3.0f - 1e-3f);
    EXPECT_LT(88.0f - (lastZ + 1.0f), 3.0f);
    EXPECT_EQ(line->Scale, 0.0f);
    EXPECT_EQ(activePieces(), 0) << "a thread leaves no pieces";
}

TEST_F(SpiderLineTest, TwoDragonfliesMetInOneFrameAreBothCaughtAndReeledInAsABall) {
    StillFly* first = add(new StillFly(back.x, back.y, back.z - 12.0f));
    StillFly* second = add(new StillFly(back.x + 0.5f, back.y, back.z - 12.0f));
    click();
    framesWhile([&] { return line->Caught == 0; }, 29);
    ASSERT_EQ(line->Caught, 1);
    EXPECT_EQ(first->catches, 1);
    EXPECT_EQ(second->catches, 1);
    EXPECT_EQ(plays(SpiderLine::SOUND_LINE_HIT), 2u);
    EXPECT_EQ(plays(SpiderLine::SOUND_LINE_REVERSE), 1u);
    EXPECT_FALSE(playing(SpiderLine::SOUND_LINE));

    ASSERT_GT(framesUntilHome(60), 0);
    EXPECT_EQ(line->BallMode, 1);
    EXPECT_EQ(line->Caught, 0);
    EXPECT_GE(line->Scale, 1.0f);
    EXPECT_LE(line->Scale, 5.0f);
    EXPECT_FALSE(playing(SpiderLine::SOUND_LINE_REVERSE));

    // Held at home 1.2 up and Scale + 1 ahead of the player (level view).
    const D3DXVECTOR3 held = positionOf(line->WorldMatrix);
    D3DXVECTOR3 expected;
    const D3DXVECTOR3 offset(0, 1.2f, line->Scale + 1.0f);
    D3DXVec3TransformCoord(&expected, &offset, &player->WorldMatrix);
    EXPECT_NEAR(held.x, expected.x, 1e-3f);
    EXPECT_NEAR(held.y, expected.y, 1e-3f);
    EXPECT_NEAR(held.z, expected.z, 1e-3f);
}

TEST_F(SpiderLineTest, AVeryShortReelStillBringsABallOfSizeOne) {
    StillFly* fly = add(new StillFly(back.x, back.y, back.z - 3.5f));
    click();
    frames(2);
    EXPECT_EQ(fly->catches, 1);
    ASSERT_EQ(line->BallMode, 1);
    EXPECT_EQ(line->Mode, 0);
    EXPECT_EQ(line->Scale, 1.0f);
}

TEST_F(SpiderLineTest, AHeldBallIsThrownWithTheBallSoundKeepsItsSizeAndBreaksIntoFourPieces) {
    add(new StillFly(back.x, back.y, back.z - 6.0f));
    catchBall();
    const float size = line->Scale;
    const unsigned linePlays = plays(SpiderLine::SOUND_LINE);
    click();
    EXPECT_EQ(line->Mode, 1);
    EXPECT_EQ(line->BallMode, 1);
    EXPECT_EQ(plays(SpiderLine::SOUND_BALL), 1u);
    EXPECT_EQ(plays(SpiderLine::SOUND_LINE), linePlays);
    EXPECT_EQ(line->Scale, size);
    EXPECT_TRUE(stripDraws().empty()) << "a thrown ball trails no thread";

    // It arcs down onto the hall floor and breaks there.
    const float startHeight = ball().y;
    ASSERT_GT(framesUntilHome(400), 0);
    EXPECT_LT(ball().y, startHeight);
    EXPECT_EQ(activePieces(), 4);
    EXPECT_EQ(plays(SpiderLine::SOUND_BALL_BREAK), 1u);
    EXPECT_EQ(line->BallMode, 0);
    EXPECT_EQ(line->Scale, 0.0f);

    // The pieces jump, fall through the floor and are gone.
    const int framesTaken = framesWhile([&] { return activePieces() > 0; }, 300);
    EXPECT_EQ(activePieces(), 0);
    EXPECT_GT(framesTaken, 10);
}

TEST_F(SpiderLineTest, BreakingABallDrawsFiveRandomNumbersPerPieceInOrder) {
    add(new StillFly(back.x, back.y, back.z - 6.0f));
    catchBall();
    click();
    ASSERT_EQ(line->Mode, 1);
    std::srand(777);
    int draws[20];
    for (int& value : draws) value = std::rand();
    std::srand(777);
    line->OnCrash(line);
    for (int i = 0; i < 4; ++i) {
        const Fragment& piece = line->Fragments[i];
        const int* r = draws + 5 * i;
        EXPECT_EQ(piece.active, 1);
        EXPECT_FLOAT_EQ(piece.dx, (r[0] % 20 - 10) / 10.0f) << "piece " << i;
        EXPECT_FLOAT_EQ(piece.dz, (r[1] % 20 - 10) / 10.0f) << "piece " << i;
        D3DXMATRIX tumbleX;
        D3DXMatrixRotationX(&tumbleX, (r[2] % 20) * 0.017453292f);
        EXPECT_EQ(piece.rotX, tumbleX) << "piece " << i;
        D3DXMATRIX tumbleY;
        D3DXMatrixRotationY(&tumbleY, (r[3] % 20) * 0.017453292f);
        EXPECT_EQ(piece.rotY, tumbleY) << "piece " << i;
        EXPECT_FLOAT_EQ(piece.speed, (r[4] % 7 + 3) / 10.0f) << "piece " << i;
    }
}

TEST_F(SpiderLineTest, OnCrashAtHomeChangesNothingEvenWithABallHeld) {
    add(new StillFly(back.x, back.y, back.z - 6.0f));
    catchBall();
    const float size = line->Scale;
    line->OnCrash(line);
    EXPECT_EQ(line->BallMode, 1);
    EXPECT_EQ(line->Scale, size);
    EXPECT_EQ(activePieces(), 0);
    EXPECT_EQ(plays(SpiderLine::SOUND_BALL_BREAK), 0u);
}

TEST_F(SpiderLineTest, AFullSetOfPiecesMakesNoNewOnesButTheBallIsGoneAllTheSame) {
    add(new StillFly(back.x, back.y, back.z - 6.0f));
    catchBall();
    click();
    line->OnCrash(line);  // as the boss breaks a thrown ball
    ASSERT_EQ(activePieces(), 4);

    add(new StillFly(back.x, back.y, back.z - 6.0f));
    catchBall();
    click();
    ASSERT_EQ(activePieces(), 4) << "the first pieces must still be flying for this test";
    D3DXMATRIX origins[4];
    for (int i = 0; i < 4; ++i) origins[i] = line->Fragments[i].origin;
    line->OnCrash(line);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(line->Fragments[i].origin, origins[i]);
    EXPECT_EQ(line->BallMode, 0);
    EXPECT_EQ(line->Mode, 0);
    EXPECT_EQ(line->Scale, 0.0f);
    EXPECT_EQ(plays(SpiderLine::SOUND_BALL_BREAK), 2u);
}

TEST_F(SpiderLineTest, ALiftAndARopeBothAheadInOneFrameAnchorToTheRope) {
    // The lift's box (6 deep) and the rope's box (3 deep) share their near face.
    Lift* lift = addLift(back + D3DXVECTOR3(0, 0, -20));
    RopeObj* rope = addRope(back + D3DXVECTOR3(0, -0.5f, -18.5f));
    click();
    framesWhile([&] { return line->Anchored == 0 && line->Mode == 1; }, 39);
    ASSERT_EQ(line->Anchored, 1);
    EXPECT_EQ(line->TargetIndex, indexOf(rope));
    EXPECT_NE(line->TargetIndex, indexOf(lift));
    EXPECT_EQ(plays(SpiderLine::SOUND_LINE_REVERSE), 2u) << "once for each box ahead";
}

TEST_F(SpiderLineTest, TheAnchoredThreadPullsThePlayerAndTheWalkingKeysDoNothing) {
    RopeObj* rope = addRope(back + D3DXVECTOR3(0, -0.5f, -30.0f));
    click();
    while (line->Anchored == 0 && line->Mode == 1) frame();
    ASSERT_EQ(line->Anchored, 1);
    ASSERT_EQ(line->TargetIndex, indexOf(rope));
    headless::setKeyDown('D', true);
    float lastSpeed = 0.0f;
    int pulled = 0;
    while (line->Mode == 1 && pulled < 100) {
        const D3DXVECTOR3 origin = positionOf(line->LineOrigin);
        update();
        ++pulled;
        // Hung 1.2 below the thread's end of the last frame, whatever the keys say.
        EXPECT_NEAR(player->TransMatrix._41, origin.x, 1e-4f);
        EXPECT_NEAR(player->TransMatrix._43, origin.z, 1e-4f);
        EXPECT_EQ(player->Mode, 0);
        if (line->Mode == 1) {
            EXPECT_GE(line->PullSpeed, lastSpeed);
            EXPECT_LE(line->PullSpeed, 1.5f + 0.08f);
        }
        lastSpeed = line->PullSpeed;
        draw();
    }
    // The end has reached the anchor; the player is let go once the camera caught up.
    EXPECT_EQ(line->Mode, 0);
    EXPECT_LT(line->LineLength, 1.0f);
    EXPECT_NEAR(player->TransMatrix._43, rope->TransMatrix._43, 1.5f);
    framesWhile([&] { return line->Anchored == 1; }, 30);
    EXPECT_EQ(line->Anchored, 0);
    EXPECT_EQ(camera->Anchored, 0);
    EXPECT_FALSE(playing(SpiderLine::SOUND_LINE_REVERSE));
}

TEST_F(SpiderLineTest, TheLockOnTakesTheFirstBoxInListOrderAndTheMarkerSpinsAndShrinks) {
    Lift* far = addLift(back + D3DXVECTOR3(0, 0, -40));
    Lift* near = addLift(back + D3DXVECTOR3(0, 0, -15));
    addLift(back + D3DXVECTOR3(0, 0, 15));  // behind the player
    headless::setKeyDown(VK_LBUTTON, true);
    frame();
    ASSERT_EQ(line->Locked, 1);
    EXPECT_EQ(line->TargetIndex, indexOf(far)) << "the first in the list wins, not the nearest";
    EXPECT_NE(line->TargetIndex, indexOf(near));
    EXPECT_TRUE(playing(SpiderLine::SOUND_LOCK_ON));

    // The marker sits on the target as the camera sees it.
    auto markers = markerDraws();
    ASSERT_EQ(markers.size(), 1u);
    D3DVIEWPORT9 viewport;
    Graphics::get().device->GetViewport(&viewport);
    D3DXMATRIX identity;
    D3DXMatrixIdentity(&identity);
    D3DXVECTOR3 onScreen;
    const D3DXVECTOR3 target = positionOf(far->TransMatrix);
    D3DXVec3Project(&onScreen, &target, &viewport, &g_stage.projection, &camera->AuxMatrix2, &identity);
    EXPECT_NEAR(markers[0].transform._41, onScreen.x, 1e-2f);
    EXPECT_NEAR(markers[0].transform._42, onScreen.y, 1e-2f);
    EXPECT_NEAR(markers[0].center.x, 128.0f, 1e-6f);

    // 1.5 degrees a frame; 0.01 smaller in each of the lock's first 21 frames (its own
    // frame included: in floats 0.7 is still above 0.5 after 20 steps), then held at 0.49.
    const float degrees = line->MarkerDeg;
    int shrinks = 0;
    for (int i = 0; i < 25; ++i) {
        const float scale = line->MarkerScale;
        frame();
        shrinks += line->MarkerScale < scale;
    }
    EXPECT_EQ(shrinks, 20);
    EXPECT_NEAR(line->MarkerDeg - degrees, 25 * 1.5f, 1e-3f);
    EXPECT_NEAR(line->MarkerScale, 0.49f, 1e-6f);
    EXPECT_EQ(line->TargetIndex, indexOf(far));

    // The guide runs from the player's back to 60 frames of flight ahead.
    const auto guide = guideDraws();
    ASSERT_EQ(guide.size(), 2u);
    EXPECT_EQ(D3DXMATRIX(guide[0]->world), player->TransMatrix);
    EXPECT_NEAR(guide[0]->vertices[0].z, -60.0f - 0.05f, 1e-3f);
    EXPECT_NEAR(guide[0]->vertices[0].y, 1.2f, 1e-3f);
    EXPECT_NEAR(guide[0]->vertices[3].z, -0.05f, 1e-6f);

    // Turned away the lock is lost and the marker starts big again.
    look(900, 0);
    EXPECT_EQ(line->Locked, 0);
    EXPECT_EQ(line->MarkerScale, 0.7f);
    EXPECT_TRUE(markerDraws().empty());
}

TEST_F(SpiderLineTest, NothingBeyondTheGuideOrBehindThePlayerIsLocked) {
    addLift(back + D3DXVECTOR3(0, 0, -70));
    addLift(back + D3DXVECTOR3(0, 0, 12));
    headless::setKeyDown(VK_LBUTTON, true);
    frames(2);
    EXPECT_EQ(line->Locked, 0);
    EXPECT_EQ(plays(SpiderLine::SOUND_LOCK_ON), 0u);
}

TEST_F(SpiderLineTest, WhileABallIsHeldTheGuideShowsButNothingIsLocked) {
    add(new StillFly(back.x, back.y, back.z - 6.0f));
    catchBall();
    addLift(back + D3DXVECTOR3(0, 0, -20));
    headless::setKeyDown(VK_LBUTTON, true);
    frame();
    EXPECT_EQ(line->Locked, 0);
    EXPECT_EQ(guideDraws().size(), 2u);
    EXPECT_TRUE(markerDraws().empty());
}

TEST_F(SpiderLineTest, AfterThePlayerDiesNothingOfTheThreadChanges) {
    add(new StillFly(back.x, back.y, back.z - 6.0f));
    catchBall();
    click();
    line->OnCrash(line);
    click();  // a thread into open air, out with the pieces
    frames(3);
    ASSERT_EQ(line->Mode, 1);
    ASSERT_GT(activePieces(), 0);

    player->Life = 1;
    player->OnHit(player);
    unsigned playsBefore[SpiderLine::SOUND_COUNT];
    for (int i = 0; i < SpiderLine::SOUND_COUNT; ++i) playsBefore[i] = plays(i);
    const D3DXMATRIX ballAt = line->TransMatrix;
    const D3DXMATRIX pieceAt = line->Fragments[0].origin;
    const float length = line->LineLength;
    const float spin = line->SpinDeg;
    const float wave = line->WaveSize;

    headless::setKeyDown(VK_LBUTTON, true);
    frames(5);
    headless::setKeyDown(VK_LBUTTON, false);
    frames(5);
    EXPECT_EQ(line->TransMatrix, ballAt);
    EXPECT_EQ(line->Fragments[0].origin, pieceAt);
    EXPECT_EQ(line->LineLength, length);
    EXPECT_EQ(line->SpinDeg, spin);
    EXPECT_EQ(line->WaveSize, wave);
    EXPECT_EQ(line->Mode, 1);
    EXPECT_EQ(line->Aiming, 0);
    for (int i = 0; i < SpiderLine::SOUND_COUNT; ++i) EXPECT_EQ(plays(i), playsBefore[i]) << "sound " << i;
    EXPECT_TRUE(stripDraws().empty());
}

TEST_F(SpiderLineTest, AReelSpeedsUpTo136AndAPullTo152BySteps008AFrame) {
    StillFly* fly = add(new StillFly(back.x, back.y, back.z - 30.0f));
    click();
    while (line->Caught == 0 && line->Mode == 1) frame();
    ASSERT_EQ(line->Caught, 1);
    // From the frame of the catch to the last frame before the ball arrives.
    std::vector<float> reel;
    while (line->Caught == 1 && reel.size() < 100) {
        reel.push_back(line->PullSpeed);
        frame();
    }
    ASSERT_GT(reel.size(), 20u);
    for (size_t k = 0; k < reel.size(); ++k) {
        EXPECT_NEAR(reel[k], 0.08f * std::min(static_cast<int>(k) + 1, 17), 1e-5f) << "frame " << k;
    }
    EXPECT_EQ(line->PullSpeed, 0.0f);

    fly->Active = 0;  // used up, as its own update does once the catch arrives
    click();
    line->OnCrash(line);  // thrown and broken at once, as on the boss
    RopeObj* rope = addRope(back + D3DXVECTOR3(0, -0.5f, -40.0f));
    click();
    while (line->Anchored == 0 && line->Mode == 1) frame();
    ASSERT_EQ(line->TargetIndex, indexOf(rope));
    // From the frame of the anchoring to the last before the thread's end arrives.
    std::vector<float> pull;
    while (line->Mode == 1 && pull.size() < 100) {
        pull.push_back(line->PullSpeed);
        frame();
    }
    ASSERT_GT(pull.size(), 22u);
    for (size_t k = 0; k < pull.size(); ++k) {
        EXPECT_NEAR(pull[k], 0.08f * std::min(static_cast<int>(k) + 1, 19), 1e-5f) << "frame " << k;
    }
    EXPECT_EQ(line->PullSpeed, 0.0f);
}

TEST_F(SpiderLineTest, AnAnchoredThreadCatchesNothingAndPullsThePlayerAllTheWay) {
    RopeObj* rope = addRope(back + D3DXVECTOR3(0, -0.5f, -30.0f));
    // Out of the flight's way, but within 3 of the ball once it sits on the anchor.
    StillFly* fly = add(new StillFly(back.x, back.y + 2.0f, back.z - 30.0f));
    click();
    while (line->Anchored == 0 && line->Mode == 1) frame();
    ASSERT_EQ(line->TargetIndex, indexOf(rope));
    int pulled = 0;
    while (line->Anchored == 1 && pulled < 100) {
        frame();
        ++pulled;
    }
    EXPECT_EQ(fly->catches, 0);
    EXPECT_EQ(line->Anchored, 0);
    EXPECT_EQ(line->BallMode, 0);
    EXPECT_EQ(line->Caught, 0);
    // Let go at the anchor, the player drops below it and stays there.
    frames(60);
    EXPECT_NEAR(player->TransMatrix._43, rope->TransMatrix._43, 1.5f);
}

}  // namespace
