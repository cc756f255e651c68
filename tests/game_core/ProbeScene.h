// A scene that only counts and measures: its update pretends to work for workMs of
// the virtual clock, and it notes how many frames had been presented at each call and the
// most updates run for one present.
#pragma once

#include <windows.h>

#include "SceneBase.h"

class ProbeScene : public SceneBase {
public:
    explicit ProbeScene(DWORD workMs);
    SceneId Update() override;
    void Draw() override;

    DWORD workMs;
    int updates = 0;
    int draws = 0;
    unsigned long presentsAtLastUpdate = 0;
    unsigned long presentsAtLastDraw = 0;
    int mostUpdatesPerPresent = 0;

private:
    int updatesSincePresent_ = 0;
};

// Replaces the running scene with one the test controls (the manager owns it).
void installScene(SceneBase* scene);
