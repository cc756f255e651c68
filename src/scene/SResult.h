// The shared behaviour of the stage-clear and game-over screens: one picture with its
// music, a click fades to black and returns to the title.
#pragma once

#include "SceneBase.h"

class SResult : public SceneBase {
public:
    ~SResult() override;
    SceneId Update() override;
    void Draw() override;

protected:
    SResult(SceneId id, int startFade, const char* musicFile, const char* pictureFile);
};
