// The title, stage-clear and game-over screens and the scene manager's hand-overs.
#include <velmora/DrawLog.h>
#include <velmora/HeadlessInput.h>

#include <memory>
#include <vector>

#include "Application.h"
#include "GameFixture.h"
#include "Graphics.h"
#include "SClear.h"
#include "SGameOver.h"
#include "STitle.h"

namespace headless = velmora::headless;
using velmora::DrawKind;
using velmora::DrawRecord;

namespace {

std::vector<const DrawRecord*> spritesIn(const velmora::DrawFrame& frame) {
    std::vector<const DrawRecord*> found;
    for (const DrawRecord& record : frame)
        if (record.kind == DrawKind::Sprite) found.push_back(&record);
    return found;
}

const DrawRecord* firstClear(const velmora::DrawFrame& frame) {
    for (const DrawRecord& record : frame)
        if (record.kind == DrawKind::Clear) return &record;
    return nullptr;
}

}  // namespace

class SceneTest : public gametest::GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        ASSERT_TRUE(startApplication());
    }

    static void holdButton(bool down) { headless::setKeyDown(VK_LBUTTON, down); }
};

TEST_F(SceneTest, TheStartPromptBlinksBetween255And60InStepsOf3) {
    STitle title;
    EXPECT_EQ(title.blinkAlpha, 255);
    std::vector<int> alphas;
    for (int frame = 0; frame < 400; ++frame) {
        EXPECT_EQ(title.Update(), 0);
        alphas.push_back(title.blinkAlpha);
    }
    int previous = 255;
    for (size_t i = 0; i < alphas.size(); ++i) {
        ASSERT_GE(alphas[i], 60);
        ASSERT_LE(alphas[i], 255);
        ASSERT_EQ(std::abs(alphas[i] - previous), 3) << "frame " << i;
        previous = alphas[i];
    }
    // 65 frames down to 60, 65 frames back up to 255, and again.
    EXPECT_EQ(alphas[64], 60);
    EXPECT_EQ(alphas[129], 255);
    EXPECT_EQ(alphas[194], 60);
    EXPECT_EQ(alphas[259], 255);
    EXPECT_EQ(alphas[63], 63);
    EXPECT_EQ(alphas[65], 63);
    EXPECT_EQ(title.fadeAlpha, 0) << "no click, no fade";
}

TEST_F(SceneTest, AButtonHeldWhenTheTitleAppearsCountsAsTheClick) {
    STitle title;
    holdButton(true);
    title.Update();
    EXPECT_EQ(title.clicked, 1);
    EXPECT_EQ(title.fadeAlpha, 2);
}

TEST_F(SceneTest, TheTitleFadesByTwoAndLaterClicksChangeNothing) {
    STitle title;
    title.Update();
    holdButton(true);
    title.Update();
    holdButton(false);
    for (int frame = 2; frame <= 60; ++frame) {
        holdButton(frame % 7 == 0);  // clicking again and again
        title.Update();
        ASSERT_EQ(title.fadeAlpha, 2 * frame);
    }
}

// Runs the whole game, so the application is started by WinMain itself.
using TitleHandOverTest = gametest::GameFixture;

TEST_F(TitleHandOverTest, OnThe128thFrameAfterTheClickWithTheLastOverlayAt254) {
    const int clickFrame = 10;
    std::vector<SceneId> sceneAtFrameStart;
    velmora::DrawFrame lastTitleImage;
    runWinMain([&](int frame) {
        sceneAtFrameStart.push_back(g_sceneManager->currentScene->sceneId);
        if (frame == clickFrame) headless::setKeyDown(VK_LBUTTON, true);
        if (frame == clickFrame + 1) headless::setKeyDown(VK_LBUTTON, false);
        // The present of frame 137 showed what the title drew in frame 136, its last.
        if (frame == clickFrame + 128) {
            lastTitleImage = velmora::drawLog().lastPresented();
            headless::setKeyDown(VK_ESCAPE, true);
        }
    });
    ASSERT_EQ(sceneAtFrameStart.size(), static_cast<size_t>(clickFrame + 129));
    EXPECT_EQ(sceneAtFrameStart[clickFrame + 127], 0) << "still the title at the start of the 128th frame";
    EXPECT_EQ(sceneAtFrameStart[clickFrame + 128], 1) << "the play scene after it";

    std::vector<const DrawRecord*> sprites = spritesIn(lastTitleImage);
    ASSERT_EQ(sprites.size(), 4u);
    EXPECT_EQ(sprites[3]->sprite.color, 0xFE000000u) << "the last overlay is not fully black";
}

TEST_F(SceneTest, TheTitleDrawsPicturePromptVersionAndOverlayInThatOrder) {
    STitle title;
    for (int frame = 0; frame < 5; ++frame) title.Update();
    holdButton(true);
    title.Update();  // fade 2, prompt alpha 237
    velmora::resetDrawLog();
    title.Draw();
    Graphics::get().device->Present(nullptr, nullptr, nullptr, nullptr);

    const velmora::DrawFrame& image = velmora::drawLog().lastPresented();
    const DrawRecord* clear = firstClear(image);
    ASSERT_NE(clear, nullptr);
    EXPECT_EQ(clear->clearColor, 0xFF000032u);
    EXPECT_EQ(clear->clearFlags, static_cast<DWORD>(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL));

    std::vector<const DrawRecord*> sprites = spritesIn(image);
    ASSERT_EQ(sprites.size(), 4u);
    EXPECT_EQ(sprites[0]->sprite.texture, title.background.texture);
    EXPECT_EQ(sprites[0]->sprite.color, 0xFFFFFFFFu);
    EXPECT_EQ(sprites[1]->sprite.texture, title.startText.texture);
    EXPECT_EQ(sprites[1]->sprite.color, (static_cast<D3DCOLOR>(237) << 24) | 0x00FFFFFFu);
    EXPECT_EQ(sprites[2]->sprite.texture, title.versionPicture.texture);
    EXPECT_FLOAT_EQ(sprites[2]->sprite.transform._11, 0.5f);
    EXPECT_FLOAT_EQ(sprites[2]->sprite.transform._43, 1.0f);
    EXPECT_EQ(sprites[3]->sprite.texture, title.background.texture);
    EXPECT_EQ(sprites[3]->sprite.color, 0x02000000u);
    for (const DrawRecord* sprite : sprites) EXPECT_TRUE(sprite->insideScene);
    EXPECT_NE(title.background.texture, nullptr) << "the generated title picture loaded";
}

TEST_F(SceneTest, TheClearScreenStaysUntilClickedThenFadesOutIn85Frames) {
    SClear clear;
    for (int frame = 0; frame < 200; ++frame) {
        ASSERT_EQ(clear.Update(), 2);
        ASSERT_EQ(clear.fadeAlpha, 0) << "never below zero";
    }
    holdButton(true);
    clear.Update();
    holdButton(false);  // releasing the button does not stop the fade
    int frames = 1;
    while (clear.Update() == 2) {
        ++frames;
        ASSERT_LT(frames, 200);
    }
    EXPECT_EQ(frames + 1, 85);
    EXPECT_EQ(clear.fadeAlpha, 255);
}

TEST_F(SceneTest, TheGameOverScreenFadesInFromBlackAndNeverGoesNegative) {
    SGameOver gameOver;
    EXPECT_EQ(gameOver.fadeAlpha, 255);
    std::vector<int> alphas;
    for (int frame = 0; frame < 200; ++frame) {
        ASSERT_EQ(gameOver.Update(), 3);
        alphas.push_back(gameOver.fadeAlpha);
    }
    EXPECT_EQ(alphas[0], 253);
    EXPECT_EQ(alphas[126], 1);
    EXPECT_EQ(alphas[127], 0);
    for (int alpha : alphas) ASSERT_GE(alpha, 0);
    EXPECT_EQ(alphas.back(), 0);
}

TEST_F(SceneTest, AClickDuringTheGameOverFadeInTurnsItAround) {
    SGameOver gameOver;
    for (int frame = 0; frame < 10; ++frame) gameOver.Update();
    ASSERT_EQ(gameOver.fadeAlpha, 235);
    holdButton(true);
    EXPECT_EQ(gameOver.Update(), 3);
    EXPECT_EQ(gameOver.fadeAlpha, 238);
    EXPECT_EQ(gameOver.Update(), 3);
    EXPECT_EQ(gameOver.Update(), 3);
    EXPECT_EQ(gameOver.Update(), 3);
    EXPECT_EQ(gameOver.Update(), 3);
    EXPECT_EQ(gameOver.Update(), 3);  // 253
    EXPECT_EQ(gameOver.Update(), 0);  // 256: back to the title
}

TEST_F(SceneTest, AButtonHeldWhenTheGameOverScreenAppearsLeavesAtOnce) {
    holdButton(true);
    SGameOver gameOver;
    EXPECT_EQ(gameOver.Update(), 0);
    SClear clear;
    EXPECT_EQ(clear.Update(), 2);
    EXPECT_EQ(clear.clicked, 1);
    EXPECT_EQ(clear.fadeAlpha, 3);
}

TEST_F(SceneTest, ResultScreensDrawTheirPictureUnderTheFade) {
    SGameOver gameOver;
    for (int frame = 0; frame < 20; ++frame) gameOver.Update();
    velmora::resetDrawLog();
    gameOver.Draw();
    std::vector<const DrawRecord*> sprites = spritesIn(velmora::drawLog().pending());
    ASSERT_EQ(sprites.size(), 2u);
    EXPECT_EQ(sprites[0]->sprite.color, 0xFFFFFFFFu);
    EXPECT_EQ(sprites[1]->sprite.color, static_cast<D3DCOLOR>(215) << 24);
    EXPECT_EQ(sprites[0]->sprite.texture, gameOver.background.texture);
    EXPECT_NE(gameOver.background.texture, nullptr) << "the generated picture loaded";
}

TEST_F(SceneTest, LeavingAResultScreenBuildsAFreshTitle) {
    g_sceneManager = new SceneManager;
    g_sceneManager->changeScene(2);
    ASSERT_EQ(g_sceneManager->currentScene->sceneId, 2);
    holdButton(true);
    int frames = 0;
    while (g_sceneManager->currentScene->sceneId == 2 && frames < 200) {
        g_sceneManager->update();
        ++frames;
    }
    holdButton(false);
    EXPECT_EQ(frames, 85);
    STitle* title = dynamic_cast<STitle*>(g_sceneManager->currentScene);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->blinkAlpha, 255);
    EXPECT_EQ(title->fadeAlpha, 0);
    EXPECT_EQ(title->clicked, 0);
}

TEST_F(SceneTest, AnUnknownSceneIdLeavesNoSceneAndTheManagerIdles) {
    g_sceneManager = new SceneManager;
    g_sceneManager->changeScene(9);
    EXPECT_EQ(g_sceneManager->currentScene, nullptr);
    g_sceneManager->update();
    g_sceneManager->draw();
    EXPECT_EQ(g_sceneManager->currentScene, nullptr);
}
