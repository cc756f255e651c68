#include "SGame.h"

#include "Stage.h"

SGame::SGame() {
    sceneId = 1;
    g_stage.init();
    startMusic("data/Sound/BGM/PlayBGM.wav");
}

SGame::~SGame() {
    releaseSound();
    g_stage.release();
}

SceneId SGame::Update() {
    g_stage.update();
    if (!g_stage.finished) return 1;
    return g_stage.cleared ? 2 : 3;
}

void SGame::Draw() { g_stage.draw(); }
