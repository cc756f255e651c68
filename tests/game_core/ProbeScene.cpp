#include "ProbeScene.h"

#include <velmora/DrawLog.h>
#include <velmora/HeadlessInput.h>

#include "SceneManager.h"

#include <algorithm>

ProbeScene::ProbeScene(DWORD work) : workMs(work) { sceneId = 7; }

SceneId ProbeScene::Update() {
    ++updates;
    const unsigned long presents = velmora::drawLog().presentCount();
    updatesSincePresent_ = presents == presentsAtLastUpdate ? updatesSincePresent_ + 1 : 1;
    mostUpdatesPerPresent = std::max(mostUpdatesPerPresent, updatesSincePresent_);
    presentsAtLastUpdate = presents;
    velmora::headless::advanceClock(workMs);
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
