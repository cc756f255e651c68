// The player and its thread as the real renderer draws them, saved as PNG files beside
// this test's build folder (player-screens/*.png) so that a person can look at them:
// aiming at an anchor with the guide and the lock-on marker, being pulled along the
// thread, holding a ball, and the damage flash with the shaking gauges. The pilot of the
// climb plays from close to its first hop; the test puts a dragonfly in its way and one
// against it.
#include <gtest/gtest.h>

#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>
#include <velmora/Screenshot.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "CharaBase.h"
#include "Pilot.h"
#include "Player.h"
#include "PlayerTestSupport.h"
#include "SceneManager.h"
#include "SpiderLine.h"

namespace headless = velmora::headless;
using namespace gametest;

namespace {

struct Shot {
    velmora::Image image;
    bool taken = false;
};

// At the start of a frame the back buffer holds the image the previous frame drew.
void take(Shot& shot, const std::string& name) {
    if (shot.taken) return;
    shot.taken = velmora::readBackBuffer(shot.image);
    std::filesystem::create_directories(VELMORA_SCREENSHOT_DIR);
    velmora::writePng(shot.image, std::string(VELMORA_SCREENSHOT_DIR) + "/" + name + ".png");
}

template <class Test>
int countPixels(const velmora::Image& image, unsigned left, unsigned top, unsigned right, unsigned bottom,
                Test test) {
    int count = 0;
    for (unsigned y = top; y < bottom && y < image.height; ++y) {
        for (unsigned x = left; x < right && x < image.width; ++x) count += test(image.pixel(x, y)) ? 1 : 0;
    }
    return count;
}

bool strongRed(velmora::Rgba c) { return c.r > 140 && c.g < 90 && c.b < 90; }
bool strongGreen(velmora::Rgba c) { return c.g > 140 && c.g > c.r + 30 && c.g > c.b + 30; }

// Flies into the player once and is spent.
class RammingFly : public StillFly {
public:
    using StillFly::StillFly;
    void OnHit(CharaBase* by) override {
        StillFly::OnHit(by);
        Active = 0;
    }
};

// Last in the object list, it updates after everyone else: what it photographs holds the
// image of the last frame with what this frame's updates drew over it (the damage flash,
// the launch wave), as the coming Present will show it.
class Photographer : public CharaBase {
public:
    Photographer(Shot* shot, const char* name) : shot_(shot), name_(name) {}
    void Update() override {
        if (due) take(*shot_, name_);
        due = false;
    }
    bool due = false;

private:
    Shot* shot_;
    const char* name_;
};

TEST(PlayerScreensTest, AimingPulledHoldingABallAndHurtOnTheRealRenderer) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    velmora::selectBackend(velmora::Backend::Real);
    headless::queueMessageBoxAnswer(IDNO);

    Pilot pilot(climbRoute());
    Shot aiming, pulled, holding, hurt;
    bool movedToTheFarArea = false;
    bool flyPlaced = false;
    int anchoredAt = -1;
    int hurtAt = -1;
    Photographer* photographer = nullptr;
    headless::onFrame([&](int frame) {
        Player* player = firstOf<Player>(KIND_PLAYER);
        SpiderLine* line = firstOf<SpiderLine>(KIND_SPIDER_LINE);
        if (player && line) {
            // Every frame costs here: start the play close to the first hop.
            if (!movedToTheFarArea) {
                D3DXMatrixTranslation(&player->TransMatrix, 36.0f, 0.3f, -60.0f);
                movedToTheFarArea = true;
            }
            const D3DXVECTOR3 p = positionOf(player->TransMatrix);
            // Before the first hop: a dragonfly to catch, and once its ball is thrown
            // one that flies into the player.
            if (pilot.stepIndex() == 1 && player->Falling == 0 && !flyPlaced) {
                g_sceneManager->objects.push_back(new StillFly(p.x - 6.0f, p.y + 1.2f, p.z - 6.0f));
                flyPlaced = true;
            }
            if (line->BallMode == 1 && line->Mode == 0) take(holding, "holding-a-ball");
            if (pilot.ballsThrown() >= 1 && hurtAt < 0 && line->Mode == 0) {
                g_sceneManager->objects.push_back(new RammingFly(p.x, p.y, p.z));
                photographer = new Photographer(&hurt, "damage-flash-and-gauges");
                g_sceneManager->objects.push_back(photographer);
                hurtAt = frame;
            }
            // Late frames draw once in up to six steps: by then one has shown the hit.
            if (hurtAt >= 0 && frame == hurtAt + 10) photographer->due = true;
            if (hurt.taken && line->Aiming == 1 && line->Locked == 1 && line->Mode == 0 && line->Anchored == 0) {
                take(aiming, "aiming-at-rope-0");
            }
            if (aiming.taken && line->Anchored == 1 && line->Mode == 1 && anchoredAt < 0) anchoredAt = frame;
            if (anchoredAt >= 0 && frame == anchoredAt + 12) {
                take(pulled, "pulled-along-the-thread");
                headless::setKeyDown(VK_ESCAPE, true);
                return;
            }
        }
        pilot.onFrame(frame);
        if (frame > 1500) headless::setKeyDown(VK_ESCAPE, true);
    });
    const int result = WinMain(nullptr, nullptr, nullptr, 0);
    headless::onFrame(nullptr);
    headless::releaseAllKeys();
    ASSERT_EQ(result, 0);
    ASSERT_TRUE(aiming.taken) << "no real device, or the pilot never aimed: " << pilot.journal();
    ASSERT_TRUE(pulled.taken) << pilot.journal();
    ASSERT_TRUE(holding.taken) << pilot.journal();
    ASSERT_TRUE(hurt.taken) << pilot.journal();

    const velmora::Image& aim = aiming.image;
    // The red guide runs from the machine's back into the picture.
    EXPECT_GT(countPixels(aim, 0, 0, aim.width, aim.height, strongRed), 40);
    // The gauges sit at the bottom right: the green life bar among them.
    for (const Shot* shot : {&aiming, &pulled, &holding}) {
        const velmora::Image& image = shot->image;
        EXPECT_GT(countPixels(image, image.width - 430, image.height - 70, image.width, image.height, strongGreen), 500);
    }
    // Hit once: the green bar is shorter, wherever the shake has put it.
    const velmora::Image& hit = hurt.image;
    const int greenWhole = countPixels(holding.image, holding.image.width - 430, holding.image.height - 80,
                                       holding.image.width, holding.image.height, strongGreen);
    const int greenHurt = countPixels(hit, hit.width - 440, hit.height - 90, hit.width, hit.height, strongGreen);
    EXPECT_LT(greenHurt, greenWhole);
    EXPECT_GT(greenHurt, greenWhole / 2);
}

}  // namespace
