#include "ProbeScene.h"

#include <velmora/DrawLog.h>
#include <velmora/HeadlessInput.h>

#include "SceneManager.h"

ProbeScene::ProbeScene(DWORD work) : workMs(work) { sceneId = 7; }

SceneId ProbeScene::Update() {
    ++updates;
    presentsAtLastUpdate = velmora::drawLog().presentCount();
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
