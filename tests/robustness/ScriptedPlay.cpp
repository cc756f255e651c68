#include "ScriptedPlay.h"

#include <velmora/DrawLog.h>
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>

#include <cmath>

#include "CharaBase.h"
#include "SceneManager.h"
#include "Stage.h"

namespace headless = velmora::headless;

namespace robustness {

namespace {

const int GAME_SCENE = 1;
// More boxes than any start-up shows; unused answers are dropped by the next reset.
const int OK_ANSWERS = 32;

int sceneNow() {
    if (!g_sceneManager || !g_sceneManager->currentScene) return -1;
    return g_sceneManager->currentScene->sceneId;
}

bool finite(const D3DXMATRIX& matrix) {
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            if (!std::isfinite(matrix.m[row][column])) return false;
    return true;
}

// Names the first object or view whose matrices hold a NaN or infinity, or "".
std::string firstNonFinite() {
    if (!g_sceneManager) return "";
    for (CharaBase* object : g_sceneManager->objects) {
        if (!finite(object->WorldMatrix) || !finite(object->TransMatrix))
            return "object of kind " + std::to_string(object->Kind);
    }
    if (sceneNow() == GAME_SCENE && (!finite(g_stage.view) || !finite(g_stage.projection))) return "stage view";
    return "";
}

}  // namespace

void resetHeadlessPlatform() {
    headless::onFrame(nullptr);
    headless::resetWin32();
    velmora::audio::resetAudio();
    velmora::resetDrawLog();
}

PlayOutcome playThroughWinMain(int frames, DWORD clockStart, const std::function<void(int)>& input) {
    PlayOutcome outcome;
    headless::setClockMs(clockStart);
    headless::queueMessageBoxAnswer(IDNO);  // windowed
    for (int i = 0; i < OK_ANSWERS; ++i) headless::queueMessageBoxAnswer(IDOK);
    headless::onFrame([&](int frame) {
        outcome.framesRun = frame;
        if (sceneNow() == GAME_SCENE) outcome.reachedPlay = true;
        if (outcome.firstNonFiniteFrame < 0) {
            outcome.nonFiniteWhat = firstNonFinite();
            if (!outcome.nonFiniteWhat.empty()) outcome.firstNonFiniteFrame = frame;
        }
        if (frame >= frames) {
            headless::releaseAllKeys();
            headless::setKeyDown(VK_ESCAPE, true);
            return;
        }
        input(frame);
    });
    outcome.exitCode = WinMain(nullptr, nullptr, nullptr, 0);
    headless::onFrame(nullptr);
    return outcome;
}

void scriptedPlayInput(int frame) {
    if (frame == 10) headless::setKeyDown(VK_LBUTTON, true);
    if (frame == 11) headless::setKeyDown(VK_LBUTTON, false);
    if (frame < 60) return;
    // A circuit of the four walking keys, 90 frames each.
    const int walkKeys[4] = {'W', 'A', 'S', 'D'};
    const int leg = (frame / 90) % 4;
    for (int i = 0; i < 4; ++i) headless::setKeyDown(walkKeys[i], i == leg);
    // Sweep the view left and right, and a little up and down.
    headless::moveMouse((frame / 120) % 2 == 0 ? 6 : -6, (frame / 200) % 2 == 0 ? 2 : -2);
    // Shoot: press for a few frames every second.
    headless::setKeyDown(VK_LBUTTON, frame % 60 < 4);
}

int objectsOfKind(int kind) {
    if (!g_sceneManager) return 0;
    int count = 0;
    for (CharaBase* object : g_sceneManager->objects)
        if (object->Kind == kind) ++count;
    return count;
}

}  // namespace robustness
