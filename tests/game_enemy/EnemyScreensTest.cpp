// The dragonflies and the boss as the real renderer draws them, saved as PNG files beside
// this test's build folder (enemy-screens/*.png) so that a person can look at them: a
// dragonfly caught among others, a ball on its way, the walking boss firing, the gun
// blown off, the rolling ball and the final explosion, each with the boss's gauge. The
// fighter plays from the boss's wing, where the test puts the player. Every frame costs
// here, so the test shortens the fight: it puts a dragonfly in front of the player
// whenever none is near, and takes the boss's life down itself between the pictures,
// leaving the gun and the destruction to thrown balls.
#include <gtest/gtest.h>

#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>
#include <velmora/Screenshot.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "BossFighter.h"
#include "GameTestHelpers.h"
#include "CharaBase.h"
#include "DragonFly.h"
#include "PillBugs.h"
#include "SceneManager.h"

namespace headless = velmora::headless;
using namespace gametest;

namespace {

const int FRAME_LIMIT = 5000;

struct Shot {
    explicit Shot(const char* picture) : name(picture) {}
    const char* name;
    velmora::Image image;
    bool taken = false;
    int dueAt = -1;
};

// Last in the object list, it updates after the others: what it photographs is the image
// of the last frame with what this frame's updates drew over it (the boss's gauge, the
// dragonflies' smoke and damage waves), as the coming Present will show it. A late
// machine runs some steps unseen, their drawing clipped away: it waits for a shown one.
class Photographer : public CharaBase {
public:
    explicit Photographer(std::vector<Shot>* shots) : shots_(shots) {}
    void Update() override {
        if (!stepShown()) return;
        for (Shot& shot : *shots_) {
            if (shot.taken || shot.dueAt < 0 || frame < shot.dueAt) continue;
            shot.taken = velmora::readBackBuffer(shot.image);
            std::filesystem::create_directories(VELMORA_SCREENSHOT_DIR);
            velmora::writePng(shot.image, std::string(VELMORA_SCREENSHOT_DIR) + "/" + shot.name + ".png");
        }
    }
    int frame = 0;

private:
    std::vector<Shot>* shots_;
};

bool dragonflyNear(const D3DXVECTOR3& p, float reach) {
    for (const CharaBase* object : g_sceneManager->objects) {
        if (object->Kind != KIND_DRAGONFLY || object->Active == 0 || object->Dead != 0) continue;
        const D3DXVECTOR3 apart = positionOf(object->WorldMatrix) - p;
        if (D3DXVec3Length(&apart) < reach) return true;
    }
    return false;
}

// Whether a point lies within 25 degrees of where the view looks.
bool inView(const CharaBase* camera, const D3DXVECTOR3& from, const D3DXVECTOR3& point) {
    const float bearing = std::atan2(point.x - from.x, point.z - from.z) * DEGREES;
    return std::fabs(wrap(bearing - camera->Yaw)) < 25.0f;
}

// A dragonfly `distance` from the player, `turn` radians off the way to the boss.
void putDragonfly(const D3DXVECTOR3& player, const D3DXVECTOR3& boss, float turn, float distance) {
    DragonFly* fly = new DragonFly(0.04f);
    const float away = std::atan2(boss.x - player.x, boss.z - player.z) + turn;
    D3DXMatrixTranslation(&fly->TransMatrix, player.x + distance * std::sin(away), player.y + 2.0f,
                          player.z + distance * std::cos(away));
    D3DXMATRIX scale;
    D3DXMatrixScaling(&scale, 1.2f, 1.2f, 1.2f);
    fly->WorldMatrix = scale * fly->TransMatrix;
    ObjectList& list = g_sceneManager->objects;
    list.insert(list.end() - 1, fly);
}

// Pixels of the gauge's frame and bars at the top left that are not dark.
int litGaugePixels(const velmora::Image& image) {
    int lit = 0;
    for (unsigned y = 10; y < 50; ++y) {
        for (unsigned x = 30; x < 430; ++x) {
            const velmora::Rgba c = image.pixel(x, y);
            lit += (c.r + c.g + c.b > 300) ? 1 : 0;
        }
    }
    return lit;
}

TEST(EnemyScreensTest, DragonfliesAndTheBossThroughItsFightOnTheRealRenderer) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    velmora::selectBackend(velmora::Backend::Real);
    headless::resetWin32();
    headless::queueMessageBoxAnswer(IDNO);

    enum { Catch, Throw, Shell, GunOff, Rolling, Explosion };
    std::vector<Shot> shots;
    for (const char* name : {"dragonflies-and-a-catch", "ball-thrown", "walking-boss-fires-a-shell", "gun-blown-off",
                             "rolling-boss", "final-explosion"}) {
        shots.emplace_back(name);
    }
    BossFighter fighter(BossFighter::Start::InTheWing);
    Photographer* photographer = nullptr;
    int lastFlyAt = -1;  // none put yet
    int rollingSince = -1;
    int shellsFired = 0;
    bool shellWasFlying = false;
    // Each at most once: the life the boss is left with before the ball that matters.
    bool readiedForTheGun = false;
    bool readiedForTheEnd = false;
    headless::onFrame([&](int frame) {
        CharaBase* player = firstOf<CharaBase>(KIND_PLAYER);
        PillBugs* boss = firstOf<PillBugs>(KIND_PILLBUGS);
        CharaBase* line = firstOf<CharaBase>(KIND_SPIDER_LINE);
        if (!player || !boss || !line) {
            photographer = nullptr;  // the play is over: the Stage deleted it
        } else {
            if (!photographer) {
                // Into the pit, in front of the boss.
                D3DXMatrixTranslation(&player->TransMatrix, -85.0f, 13.0f, -20.0f);
                photographer = new Photographer(&shots);
                g_sceneManager->objects.push_back(photographer);
            }
            ObjectList& list = g_sceneManager->objects;
            list.erase(std::find(list.begin(), list.end(), photographer));
            list.push_back(photographer);
            photographer->frame = frame;

            const D3DXVECTOR3 p = positionOf(player->TransMatrix);
            const D3DXVECTOR3 b = positionOf(boss->WorldMatrix);
            CharaBase* view = firstOf<CharaBase>(KIND_CAMERA);
            // No dragonflies while the fighter should watch the boss for a picture: first
            // of all until the walking boss has fired.
            const bool watchingTheBoss = !shots[Shell].taken ||
                                         (boss->GunLost == 1 && !shots[GunOff].taken) ||
                                         (rollingSince >= 0 && !shots[Rolling].taken);
            // The gun picture has one window, the explosion before the boss rolls: a
            // fighter turned to a dragonfly then would miss it for good.
            fighter.keepFacingTheBoss(watchingTheBoss);
            if (line->Mode == 0 && line->BallMode == 0 && (lastFlyAt < 0 || frame - lastFlyAt > 150) && !watchingTheBoss &&
                !dragonflyNear(p, 30.0f)) {
                putDragonfly(p, b, 1.2f, 16.0f);
                // The first time a few more, to be seen flying while one is caught.
                if (lastFlyAt < 0) {
                    putDragonfly(p, b, 0.9f, 26.0f);
                    putDragonfly(p, b, 1.6f, 30.0f);
                }
                lastFlyAt = frame;
            }
            if (line->Caught == 1 && shots[Catch].dueAt < 0) shots[Catch].dueAt = frame + 6;
            if (line->Mode == 1 && line->BallMode == 1 && shots[Throw].dueAt < 0) shots[Throw].dueAt = frame + 6;
            // Just after the shot leaves the gun; once a shell has flown unseen, any moment a
            // shell is in flight.
            if (boss->ShellFlying == 1 && !shellWasFlying) ++shellsFired;
            shellWasFlying = boss->ShellFlying == 1;
            if (boss->ShellFlying == 1 && boss->WalkForm == 1 && (boss->WaveSize < 1.0f || shellsFired > 1) &&
                shots[Shell].dueAt < 0 && view && inView(view, p, b)) {
                shots[Shell].dueAt = frame + 4;
            }
            // While the explosion over the body is well under way.
            if (boss->GunLost == 1 && boss->WalkForm == 1 && boss->ExploFrame > 8 && shots[GunOff].dueAt < 0 && view &&
                inView(view, p, b)) {
                shots[GunOff].dueAt = frame + 1;
            }
            if (shots[Throw].taken && shots[Shell].taken && !readiedForTheGun && boss->Life > 5) {
                while (boss->Life > 5) boss->OnHit(boss);
                readiedForTheGun = true;
            }
            if (shots[Rolling].taken && !readiedForTheEnd && boss->Life > 1) {
                while (boss->Life > 1) boss->OnHit(boss);
                readiedForTheEnd = true;
            }
            if (boss->WalkForm == 0 && boss->RollSpeed >= 30.0f && rollingSince < 0) rollingSince = frame;
            if (rollingSince >= 0 && frame > rollingSince + 40 && shots[Rolling].dueAt < 0 && view &&
                inView(view, p, b)) {
                shots[Rolling].dueAt = frame + 1;
            }
            if (boss->Life == 0 && shots[Explosion].dueAt < 0) shots[Explosion].dueAt = frame + 18;
        }
        fighter.onFrame(frame);
        bool all = true;
        for (const Shot& shot : shots) all = all && shot.taken;
        if (all || frame > FRAME_LIMIT) headless::setKeyDown(VK_ESCAPE, true);
    });
    const int result = WinMain(nullptr, nullptr, nullptr, 0);
    headless::onFrame(nullptr);
    headless::releaseAllKeys();
    ASSERT_EQ(result, 0);
    for (const Shot& shot : shots) {
        ASSERT_TRUE(shot.taken) << shot.name << " never taken (no real device?):\n" << fighter.journal();
        // The boss's gauge sits at the top left of every picture.
        EXPECT_GT(litGaugePixels(shot.image), 2000) << shot.name;
    }
}

}  // namespace
