#include "SceneManager.h"

#include <new>

#include "SClear.h"
#include "SGame.h"
#include "SGameOver.h"
#include "STitle.h"

SceneManager* g_sceneManager = nullptr;

SceneManager::SceneManager() : currentScene(new (std::nothrow) STitle) { ShowCursor(FALSE); }

SceneManager::~SceneManager() {
    delete currentScene;
    currentScene = nullptr;
}

void SceneManager::update() {
    if (!currentScene) return;
    SceneId next = currentScene->Update();
    if (next != currentScene->sceneId) changeScene(next);
}

void SceneManager::draw() {
    if (currentScene) currentScene->Draw();
}

// The old scene goes first (its music stops, a play ends), then the new one loads.
void SceneManager::changeScene(SceneId id) {
    delete currentScene;
    currentScene = nullptr;
    switch (id) {
        case 0:
            currentScene = new (std::nothrow) STitle;
            break;
        case 1:
            currentScene = new (std::nothrow) SGame;
            break;
        case 2:
            currentScene = new (std::nothrow) SClear;
            break;
        case 3:
            currentScene = new (std::nothrow) SGameOver;
            break;
        default:
            break;
    }
}
