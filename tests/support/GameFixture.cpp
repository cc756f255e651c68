#include "GameFixture.h"

#include <velmora/DrawLog.h>
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include "Application.h"
#include "ComRelease.h"
#include "Graphics.h"
#include "Stage.h"
#include "SubField.h"

namespace headless = velmora::headless;

namespace gametest {

void GameFixture::resetHeadless() {
    velmora::selectBackend(velmora::Backend::Headless);
    headless::resetWin32();
    velmora::audio::resetAudio();
    velmora::resetDrawLog();
}

bool GameFixture::startApplication(int fullScreenAnswer) {
    headless::queueMessageBoxAnswer(fullScreenAnswer);
    return Application::get().create(nullptr, 1280, 720);
}

void GameFixture::startWorld() {
    ASSERT_TRUE(startApplication());
    g_sceneManager = new SceneManager();
}

void GameFixture::loadArena() {
    g_subField.Load();
    ASSERT_NE(g_subField.mesh.mesh, nullptr) << "run from the game's folder with the generated data";
    Graphics& graphics = Graphics::get();
    const float aspect = static_cast<float>(graphics.presentParams.BackBufferWidth) /
                         static_cast<float>(graphics.presentParams.BackBufferHeight);
    D3DXMatrixPerspectiveFovLH(&g_stage.projection, 1.0471976f, aspect, 2.01f, 180.0f);
    graphics.device->SetTransform(D3DTS_PROJECTION, &g_stage.projection);
}

void GameFixture::shutDown() {
    if (g_sceneManager) {
        // The scene first: a play releases its own objects; those a test added go after.
        delete g_sceneManager->currentScene;
        g_sceneManager->currentScene = nullptr;
        for (CharaBase* object : g_sceneManager->objects) delete object;
        delete g_sceneManager;
        g_sceneManager = nullptr;
    }
    g_subField.Release();
    Application& application = Application::get();
    releaseInterface(application.modelEffect.effect);
    application.modelEffect.whiteTexture.release();
    Graphics::get().release();
}

void GameFixture::SetUp() { resetHeadless(); }

void GameFixture::TearDown() {
    headless::onFrame(nullptr);
    shutDown();
    velmora::audio::resetAudio();
    headless::resetWin32();
}

int GameFixture::runWinMain(std::function<void(int frame)> perFrame) {
    headless::onFrame(std::move(perFrame));
    const int result = WinMain(nullptr, nullptr, nullptr, 0);
    headless::onFrame(nullptr);
    return result;
}

int GameFixture::play(DWORD clockStart, int frameLimit, std::function<void(int frame)> script) {
    headless::setClockMs(clockStart);
    headless::queueMessageBoxAnswer(IDNO);  // windowed
    return runWinMain([&](int frame) {
        script(frame);
        if (frame >= frameLimit) headless::setKeyDown(VK_ESCAPE, true);
    });
}

}  // namespace gametest
