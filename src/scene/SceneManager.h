// Owns the running scene and the list of world objects of the current play.
#pragma once

#include "ObjectList.h"
#include "SceneBase.h"

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
    ObjectList objects;  // filled and emptied by the Stage
};

extern SceneManager* g_sceneManager;
