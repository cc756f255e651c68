// Owns the running scene and the list of world objects of the current play.
#pragma once

#include <vector>

#include "ObjectsByKind.h"
#include "SceneBase.h"

class CharaBase;

class SceneManager {
public:
    // Builds the title scene and hides the cursor for the whole run.
    SceneManager();
    ~SceneManager();
    SceneManager(const SceneManager&) = delete;
    SceneManager& operator=(const SceneManager&) = delete;

    void update();
    void draw();
    void changeScene(SceneId id);

    SceneBase* currentScene;
    std::vector<CharaBase*> objects;  // filled and emptied by the Stage
    ObjectsByKind objectsByKind;      // follows `objects` by itself
};

extern SceneManager* g_sceneManager;
