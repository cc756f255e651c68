#include "GameCoreTest.h"

#include <velmora/DrawLog.h>
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include "ComRelease.h"

namespace headless = velmora::headless;

void GameCoreTest::SetUp() {
    velmora::selectBackend(velmora::Backend::Headless);
    headless::resetWin32();
    velmora::audio::resetAudio();
    velmora::resetDrawLog();
}

void GameCoreTest::TearDown() {
    headless::onFrame(nullptr);
    shutDown();
    velmora::audio::resetAudio();
    headless::resetWin32();
}

bool GameCoreTest::startApplication(int fullScreenAnswer) {
    headless::queueMessageBoxAnswer(fullScreenAnswer);
    return Application::get().create(nullptr, 1280, 720);
}

int GameCoreTest::runWinMain(std::function<void(int frame)> perFrame) {
    headless::onFrame(std::move(perFrame));
    int result = WinMain(nullptr, nullptr, nullptr, 0);
    headless::onFrame(nullptr);
    return result;
}

void GameCoreTest::shutDown() {
    delete g_sceneManager;
    g_sceneManager = nullptr;
    Application& application = Application::get();
    releaseInterface(application.modelEffect.effect);
    application.modelEffect.whiteTexture.release();
    Graphics::get().release();
}

ProbeScene::ProbeScene(DWORD work) : workMs(work) { sceneId = 7; }

SceneId ProbeScene::Update() {
    ++updates;
    presentsAtLastUpdate = velmora::drawLog().presentCount();
    headless::advanceClock(workMs);
    return sceneId;
}

void ProbeScene::Draw() {
    ++draws;
    presentsAtLastDraw = velmora::drawLog().presentCount();
}

void installScene(SceneBase* scene) {
    delete g_sceneManager->currentScene;
    g_sceneManager->currentScene = scene;
}
