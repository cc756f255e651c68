// The spider machine: walking relative to the view, the gait, contact damage, the
// knock-up, the lethal hit and its explosion, and the life gauge.
#include <cmath>
#include <cstdlib>
#include <initializer_list>

#include <velmora/DrawLog.h>
#include <velmora/HeadlessInput.h>

#include "Graphics.h"
#include "Player.h"
#include "PlayerTestSupport.h"
#include "SpiderLine.h"
#include "TestCamera.h"

using namespace gametest;
namespace headless = velmora::headless;

namespace {

// What the player needs of a boss: its kind, place and life.
class BossStandIn : public CharaBase {
public:
    BossStandIn(float x, float y, float z) {
        place(this, x, y, z);
        Kind = KIND_PILLBUGS;
        Active = 1;
        Life = 8;
    }
    void Update() override {}
};

D3DXVECTOR3 flat(const D3DXVECTOR3& v) { return D3DXVECTOR3(v.x, 0.0f, v.z); }

class PlayerTest : public PlayerWorld {
protected:
    // The horizontal step of one frame with these keys held.
    D3DXVECTOR3 stepWith(std::initializer_list<int> keys) {
        for (int key : keys) headless::setKeyDown(key, true);
        const D3DXVECTOR3 before = positionOf(player->TransMatrix);
        frame();
        headless::releaseAllKeys();
        return flat(positionOf(player->TransMatrix) - before);
    }
    // The sprite draws of the last drawn frame that used a gauge's texture.
    std::vector<velmora::LoggedSprite> spritesOf(const Gauge& gauge) {
        std::vector<velmora::LoggedSprite> found;
        for (const velmora::DrawRecord& record : velmora::drawLog().pending()) {
            if (record.kind == velmora::DrawKind::Sprite && record.sprite.texture == gauge.texture) {
                found.push_back(record.sprite);
            }
        }
        return found;
    }
};

TEST_F(PlayerTest, ConstructionPlacesTheMachineAtTheBackOfTheHall) {
    EXPECT_EQ(player->Kind, KIND_PLAYER);
    EXPECT_EQ(player->Life, 10);
    EXPECT_EQ(player->GaugeShown, 400);
    EXPECT_EQ(player->Active, 1);
    expectNear(positionOf(player->TransMatrix), D3DXVECTOR3(0, 5, 73), "start");
    // Facing -z.
    D3DXVECTOR3 ahead;
    const D3DXVECTOR3 z(0, 0, 1);
    D3DXVec3TransformNormal(&ahead, &z, &player->RotYMatrix);
    expectNear(ahead, D3DXVECTOR3(0, 0, -1), "heading");
    EXPECT_NE(player->BodyMesh.mesh, nullptr);
    EXPECT_NE(player->LegMesh.mesh, nullptr);
    for (IDirectSoundBuffer8* buffer : player->SeBuffers) EXPECT_NE(buffer, nullptr);
    EXPECT_NE(player->LifeGauge.sprite, player->DamageGauge.sprite) << "one sprite per gauge";
}

TEST_F(PlayerTest, TheKeysWalkRelativeToTheViewAndWForwardAndDRightWinTies) {
    standAt(0, 1, 20);
    // The view starts at yaw 180: forward is -z and right is -x.
    expectNear(stepWith({'W'}), D3DXVECTOR3(0, 0, -0.3f), "W");
    expectNear(stepWith({'S'}), D3DXVECTOR3(0, 0, 0.3f), "S");
    expectNear(stepWith({'W', 'S'}), D3DXVECTOR3(0, 0, -0.3f), "W and S");
    expectNear(stepWith({'D'}), D3DXVECTOR3(-0.3f, 0, 0), "D");
    expectNear(stepWith({'D', 'A'}), D3DXVECTOR3(-0.3f, 0, 0), "D and A");
    const float diagonal = 0.3f / std::sqrt(2.0f);
    expectNear(stepWith({'W', 'D'}), D3DXVECTOR3(-diagonal, 0, -diagonal), "W and D");
    expectNear(stepWith({'S', 'A'}), D3DXVECTOR3(diagonal, 0, diagonal), "S and A");
    EXPECT_EQ(stepWith({}), D3DXVECTOR3(0, 0, 0));

    // A quarter turn to the right (900 pixels): forward is now -x, and the body follows.
    look(900, 0);
    expectNear(stepWith({'W'}), D3DXVECTOR3(-0.3f, 0, 0), "W after the turn");
    D3DXVECTOR3 ahead;
    const D3DXVECTOR3 z(0, 0, 1);
    D3DXVec3TransformNormal(&ahead, &z, &player->RotYMatrix);
    expectNear(ahead, D3DXVECTOR3(-1, 0, 0), "heading after the turn");
}

TEST_F(PlayerTest, TheLegsStepOnTheGroundWhenWalkingOrWhenOnlyTheViewTurns) {
    standAt(0, 1, 20);
    ASSERT_EQ(player->PathLeg, 0);
    ASSERT_EQ(player->PathDist, 0.0f);
    const D3DXMATRIX legA = player->Legs[0].trans;
    const D3DXMATRIX legB = player->Legs[1].trans;
    IDirectSoundBuffer8* walking = player->SeBuffers[Player::SOUND_WALK];
    const unsigned walkPlays = playCallsOf(walking);

    look(5, 0);
    // Eight calls of 0.05 on one shared path: group A goes up, group B back.
    EXPECT_NEAR(player->PathDist, 0.4f, 1e-5f);
    EXPECT_NEAR(player->Legs[0].trans._42 - legA._42, 0.05f, 1e-6f);
    EXPECT_NEAR(player->Legs[1].trans._43 - legB._43, -0.05f, 1e-6f);
    EXPECT_EQ(playCallsOf(walking), walkPlays + 1);

    // Looking up or down is not turning.
    const D3DXMATRIX legAfterTurn = player->Legs[0].trans;
    look(0, 20);
    EXPECT_EQ(player->Legs[0].trans, legAfterTurn);
    EXPECT_EQ(playCallsOf(walking), walkPlays + 1);

    // Within three frames the shared path runs past its side of 1.1 and turns a corner
    // between two legs of the same frame: the first group is ahead of the second.
    look(5, 0);
    look(5, 0);
    EXPECT_EQ(player->PathLeg, 1);

    // The drawn legs hang on the body.
    D3DXMATRIX expected;
    D3DXMatrixMultiply(&expected, &player->LegTurn[3], &player->Legs[3].trans);
    D3DXMatrixMultiply(&expected, &expected, &player->WorldMatrix);
    EXPECT_EQ(player->Legs[3].world, expected);
}

TEST_F(PlayerTest, WalkingInTheAirNeverStepsTheLegs) {
    standAt(0, 1, 20);
    const D3DXMATRIX leg = player->Legs[0].trans;
    const unsigned walkPlays = playCallsOf(player->SeBuffers[Player::SOUND_WALK]);
    player->TransMatrix._42 = 20.0f;
    headless::setKeyDown('W', true);
    int airborne = 0;
    for (int i = 0; i < 200 && (i == 0 || player->Falling == 1); ++i) {
        frame();
        if (player->Falling == 1) {
            ++airborne;
            ASSERT_EQ(player->Legs[0].trans, leg) << "frame " << i;
            ASSERT_EQ(playCallsOf(player->SeBuffers[Player::SOUND_WALK]), walkPlays) << "frame " << i;
        }
    }
    EXPECT_GT(airborne, 30);
    // The frame that lands steps again.
    EXPECT_EQ(player->Falling, 0);
    EXPECT_NE(player->Legs[0].trans, leg);
    EXPECT_EQ(playCallsOf(player->SeBuffers[Player::SOUND_WALK]), walkPlays + 1);
}

TEST_F(PlayerTest, EachTouchingDragonflyCostsAPointButCaughtAndDestroyedOnesAreHarmless) {
    standAt(0, 1, 20);
    const D3DXVECTOR3 p = positionOf(player->WorldMatrix);
    StillFly* left = add(new StillFly(p.x + 1.5f, p.y, p.z));
    StillFly* right = add(new StillFly(p.x - 1.5f, p.y, p.z));
    StillFly* caught = add(new StillFly(p.x, p.y, p.z + 1.0f));
    caught->Caught = 1;
    StillFly* destroyed = add(new StillFly(p.x, p.y + 1.0f, p.z));
    destroyed->Dead = 1;
    StillFly* away = add(new StillFly(p.x + 3.0f, p.y, p.z));
    const unsigned damagePlays = playCallsOf(player->SeBuffers[Player::SOUND_DAMAGE]);

    frame();
    EXPECT_EQ(player->Life, 8);
    EXPECT_EQ(left->hits, 1);
    EXPECT_EQ(right->hits, 1);
    EXPECT_EQ(caught->hits, 0);
    EXPECT_EQ(destroyed->hits, 0);
    EXPECT_EQ(away->hits, 0) << "exactly 3 away is not touching";
    EXPECT_EQ(player->Staggered, 1);
    EXPECT_EQ(playCallsOf(player->SeBuffers[Player::SOUND_DAMAGE]), damagePlays + 2);
    EXPECT_EQ(player->EffectOn, 1);
}

TEST_F(PlayerTest, AHitKnocksThePlayerUpAndTheBossHurtsAgainAfterEveryLanding) {
    standAt(0, 1, 20);
    const D3DXVECTOR3 p = positionOf(player->WorldMatrix);
    BossStandIn* boss = add(new BossStandIn(p.x + 2.0f, p.y, p.z));
    const float ground = p.y;

    frame();
    ASSERT_EQ(player->Life, 9);
    ASSERT_EQ(player->Staggered, 1);
    // Up by 0.3 + 0.29 + ... + 0.01, then down again; the boss cannot hurt meanwhile.
    float peak = ground;
    int staggeredFrames = 1;
    while (player->Staggered == 1 && staggeredFrames < 300) {
        frame();
        peak = std::max(peak, player->TransMatrix._42);
        ++staggeredFrames;
    }
    EXPECT_NEAR(peak - ground, 4.65f, 0.02f);
    EXPECT_EQ(player->Life, 9);
    EXPECT_EQ(player->Staggered, 0);
    EXPECT_NEAR(player->TransMatrix._42, ground, 0.5f);
    EXPECT_EQ(player->EffectOn, 0) << "the damage flash has run its course";

    frame();
    EXPECT_EQ(player->Life, 8) << "touching the boss again after landing";
    EXPECT_EQ(boss->Life, 8) << "the boss itself is not hurt";
}

TEST_F(PlayerTest, TheDamageFlashSwellsForNineFramesFromTheHitPoint) {
    standAt(0, 1, 20);
    player->OnHit(player);
    const D3DXVECTOR3 at = positionOf(player->TransMatrix);
    int flashes = 0;
    for (int i = 0; i < 12; ++i) {
        velmora::resetDrawLog();
        update();
        for (const velmora::DrawRecord& record : velmora::drawLog().pending()) {
            if (record.kind == velmora::DrawKind::PrimitiveUP && record.texture == player->SwellTexture.texture) {
                ++flashes;
                // Turned toward the view, placed at the hit point.
                EXPECT_NEAR(record.world._41, at.x, 1e-4f);
                EXPECT_NEAR(record.world._43, at.z, 1e-4f);
            }
        }
        draw();
    }
    // Nine growing frames (a tenth when the sum of the ninths falls a rounding short),
    // then one at full size that ends it.
    EXPECT_GE(flashes, 10);
    EXPECT_LE(flashes, 11);
    EXPECT_GE(player->SwellSize, 0.35f - 1e-6f);
    EXPECT_LT(player->SwellSize, 0.35f + 0.35f / 9.0f + 1e-6f);
    EXPECT_EQ(player->EffectOn, 0);
}

TEST_F(PlayerTest, TheLastPointExplodesTheMachineAndItIsGoneAtThe52ndDraw) {
    standAt(0, 1, 20);
    player->Life = 1;
    const D3DXVECTOR3 p = positionOf(player->WorldMatrix);
    add(new StillFly(p.x + 1.0f, p.y, p.z));
    const unsigned damagePlays = playCallsOf(player->SeBuffers[Player::SOUND_DAMAGE]);
    update();
    EXPECT_EQ(player->Life, 0);
    EXPECT_EQ(player->Dead, 1);
    EXPECT_EQ(player->Staggered, 0);
    EXPECT_TRUE(isPlaying(player->SeBuffers[Player::SOUND_EXPLOSION]));
    EXPECT_EQ(playCallsOf(player->SeBuffers[Player::SOUND_DAMAGE]), damagePlays);
    EXPECT_NEAR(player->RiseTrans._42, player->TransMatrix._42 + 0.5f, 1e-5f);

    for (int drawn = 1; drawn <= 52; ++drawn) {
        draw();
        ASSERT_EQ(player->Active, drawn < 52 ? 1 : 0) << "draw " << drawn;
        bool bodyDrawn = false;
        for (const velmora::DrawRecord& record : velmora::drawLog().pending()) {
            const velmora::LoggedEffectParameter* world = record.effectParameter("mW");
            if (record.kind == velmora::DrawKind::IndexedPrimitive && world &&
                D3DXMATRIX(world->values) == player->WorldMatrix) {
                bodyDrawn = true;
            }
        }
        ASSERT_FALSE(bodyDrawn) << "the exploding machine is not drawn";
    }
    // A dead player no longer moves.
    const D3DXMATRIX at = player->TransMatrix;
    headless::setKeyDown('W', true);
    frames(3);
    EXPECT_EQ(player->TransMatrix, at);
}

TEST_F(PlayerTest, TheRedBarRunsDownToTheLifeWhileTheGreenBarJumps) {
    standAt(0, 1, 20);
    frame();
    ASSERT_EQ(spritesOf(player->LifeGauge).size(), 1u);
    EXPECT_EQ(spritesOf(player->LifeGauge)[0].sourceRect.right, 400);
    player->OnHit(player);
    const D3DPRESENT_PARAMETERS& screen = Graphics::get().presentParams;

    for (int drawn = 1; drawn <= 45; ++drawn) {
        draw();
        const auto red = spritesOf(player->DamageGauge);
        const auto green = spritesOf(player->LifeGauge);
        const auto frameBar = spritesOf(player->FrameGauge);
        ASSERT_EQ(red.size(), 1u);
        ASSERT_EQ(green.size(), 1u);
        ASSERT_EQ(frameBar.size(), 1u);
        EXPECT_EQ(red[0].sourceRect.right, std::max(360, 401 - drawn)) << "draw " << drawn;
        EXPECT_EQ(red[0].sourceRect.top, 12);
        EXPECT_EQ(red[0].color, 0x64FF6464u);
        EXPECT_EQ(green[0].sourceRect.right, 360);
        EXPECT_EQ(green[0].color, 0xFF96FF96u);
        EXPECT_EQ(frameBar[0].sourceRect.right, 400);
        EXPECT_EQ(frameBar[0].sourceRect.top, 0);
    }
    // Not staggered any more (nothing updated it): the bars stand still at the corner.
    player->Staggered = 0;
    draw();
    const auto red = spritesOf(player->DamageGauge);
    ASSERT_EQ(red.size(), 1u);
    EXPECT_EQ(red[0].transform._41, screen.BackBufferWidth - 421.0f);
    EXPECT_EQ(red[0].transform._42, screen.BackBufferHeight - 50.0f);
    const auto frameBar = spritesOf(player->FrameGauge);
    EXPECT_EQ(frameBar[0].transform._41, screen.BackBufferWidth - 420.0f);
    EXPECT_EQ(frameBar[0].transform._42, screen.BackBufferHeight - 60.0f);
}

TEST_F(PlayerTest, TheGaugesDrawTwoRandomNumbersEveryFrameAndShakeOnlyWhileStaggered) {
    standAt(0, 1, 20);
    const D3DPRESENT_PARAMETERS& screen = Graphics::get().presentParams;
    for (int staggered = 0; staggered <= 1; ++staggered) {
        player->Staggered = staggered;
        std::srand(1234);
        const int firstDraw = std::rand();
        const int secondDraw = std::rand();
        const int thirdDraw = std::rand();
        std::srand(1234);
        draw();
        EXPECT_EQ(std::rand(), thirdDraw) << "exactly two draws per frame";
        const float shakeY = staggered ? static_cast<float>(firstDraw % 20 - 10) : 0.0f;
        const float shakeX = staggered ? static_cast<float>(secondDraw % 20 - 10) : 0.0f;
        const auto green = spritesOf(player->LifeGauge);
        ASSERT_EQ(green.size(), 1u);
        EXPECT_EQ(green[0].transform._41, screen.BackBufferWidth - 421.0f + shakeX);
        EXPECT_EQ(green[0].transform._42, screen.BackBufferHeight - 50.0f + shakeY);
    }
}

TEST_F(PlayerTest, TheGaugesVanishOnceTheRedBarOfADeadPlayerHasRunOut) {
    standAt(0, 1, 20);
    player->Life = 1;
    player->OnHit(player);
    // Drawn alone: with the camera in the list the fade would end the play first.
    int drawsWithGauges = 0;
    for (int i = 0; i < 500; ++i) {
        drawOnly(player);
        if (!spritesOf(player->FrameGauge).empty()) ++drawsWithGauges;
    }
    EXPECT_EQ(drawsWithGauges, 400) << "one pixel a frame from 400 to 0";
    EXPECT_EQ(player->GaugeShown, 0);
}

TEST_F(PlayerTest, ThePlayerStandsFrozenOnceTheBossIsBeaten) {
    standAt(0, 1, 20);
    BossStandIn* boss = add(new BossStandIn(-93, 15, -47));
    boss->Life = 0;
    const D3DXMATRIX at = player->TransMatrix;
    headless::setKeyDown('W', true);
    look(30, 0);
    frames(5);
    EXPECT_EQ(player->TransMatrix, at);
}

}  // namespace
