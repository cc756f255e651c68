// The play scene: drives the Stage and plays the play music.
#pragma once

#include "SceneBase.h"

class SGame : public SceneBase {
public:
    SGame();
    ~SGame() override;

    // 1 while the play runs; 2 when it was won, 3 when it was lost.
    SceneId Update() override;
    void Draw() override;
};
