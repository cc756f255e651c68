// The screens as the real renderer draws them, saved as PNG files beside this test's
// build folder (screens/*.png) so that a person can look at them too.
#include <gtest/gtest.h>

#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>
#include <velmora/Screenshot.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Application.h"
#include "SceneManager.h"
#include "STitle.h"

namespace headless = velmora::headless;

namespace {

double meanBrightness(const velmora::Image& image) {
    if (image.rgba.empty()) return 0.0;
    double sum = 0.0;
    for (size_t i = 0; i < image.rgba.size(); i += 4) sum += image.rgba[i] + image.rgba[i + 1] + image.rgba[i + 2];
    return sum / (3.0 * image.width * image.height);
}

// Share of pixels that differ by more than a little between two images of one size.
double changedShare(const velmora::Image& a, const velmora::Image& b) {
    size_t changed = 0;
    for (size_t i = 0; i < a.rgba.size(); i += 4) {
        int difference = std::abs(a.rgba[i] - b.rgba[i]) + std::abs(a.rgba[i + 1] - b.rgba[i + 1]) +
                         std::abs(a.rgba[i + 2] - b.rgba[i + 2]);
        if (difference > 24) ++changed;
    }
    return static_cast<double>(changed) / (a.width * a.height);
}

struct Shot {
    velmora::Image image;
    bool taken = false;
};

// The back buffer at the start of a frame holds the image the previous frame drew.
void take(Shot& shot, const std::string& name) {
    shot.taken = velmora::readBackBuffer(shot.image);
    std::filesystem::create_directories(VELMORA_SCREENSHOT_DIR);
    velmora::writePng(shot.image, std::string(VELMORA_SCREENSHOT_DIR) + "/" + name + ".png");
}

// A late frame runs up to six steps of the rules before it draws: the first image of a new
// screen is the first that differs from the screen before.
void takeOnceChanged(Shot& shot, const Shot& before, const std::string& name) {
    if (shot.taken) return;
    take(shot, name);
    shot.taken = shot.taken && changedShare(before.image, shot.image) > 0.05;
}

}  // namespace

TEST(ScreensTest, TitleBlinkPhasesStageClearAndGameOver) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "needs an X display (run under xvfb-run)";
    velmora::selectBackend(velmora::Backend::Real);
    headless::queueMessageBoxAnswer(IDNO);

    Shot promptBright, promptDim, stageClear, gameOverStart, gameOverShown;
    int blinkAtBright = 0, blinkAtDim = 0, gameOverAt = -1;
    headless::onFrame([&](int frame) {
        STitle* title = dynamic_cast<STitle*>(g_sceneManager->currentScene);
        if (frame == 1) {
            take(promptBright, "title-prompt-bright");
            blinkAtBright = title ? title->blinkAlpha : -1;
        }
        if (frame == 65) {
            take(promptDim, "title-prompt-dim");
            blinkAtDim = title ? title->blinkAlpha : -1;
            g_sceneManager->changeScene(2);
        }
        if (frame > 65 && !stageClear.taken) {
            takeOnceChanged(stageClear, promptDim, "stage-clear");
            if (stageClear.taken) g_sceneManager->changeScene(3);
        } else if (frame > 65 && !gameOverStart.taken) {
            takeOnceChanged(gameOverStart, stageClear, "game-over-fading-in");
            if (gameOverStart.taken) gameOverAt = frame;
        }
        if ((gameOverAt >= 0 && frame == gameOverAt + 128) || frame == 2000) {
            take(gameOverShown, "game-over");
            headless::setKeyDown(VK_ESCAPE, true);
        }
    });
    int result = WinMain(nullptr, nullptr, nullptr, 0);
    headless::onFrame(nullptr);
    headless::releaseAllKeys();
    ASSERT_EQ(result, 0);
    ASSERT_TRUE(promptBright.taken) << "no real device: is the display usable?";

    EXPECT_EQ(blinkAtBright, 252);
    EXPECT_EQ(blinkAtDim, 60);
    ASSERT_EQ(promptBright.image.width, 1280u);
    ASSERT_EQ(promptBright.image.height, 720u);
    EXPECT_GT(meanBrightness(promptBright.image), 10.0) << "the title picture shows";
    // Only the prompt fades: a small part of the screen changes between the phases.
    double promptShare = changedShare(promptBright.image, promptDim.image);
    EXPECT_GT(promptShare, 0.002);
    EXPECT_LT(promptShare, 0.5);

    EXPECT_GT(meanBrightness(stageClear.image), 10.0) << "the clear screen shows at once";
    EXPECT_LT(meanBrightness(gameOverStart.image), 3.0) << "the game-over screen starts black";
    EXPECT_GT(meanBrightness(gameOverShown.image), 10.0) << "and fades in";
    EXPECT_GT(changedShare(stageClear.image, gameOverShown.image), 0.05) << "two different pictures";
}
