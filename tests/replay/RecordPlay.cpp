// Makes a regression play: the real game in a window (run it under an X server), played by
// a scripted player through the real input path, recorded, with the state digests of the
// recording run saved beside it.
//
//   velmora_record_play win|loss|slow OUT   writes OUT.vrp and OUT.digests
//
// win: the boss fighter climbs, beats the boss and clicks back to the title. loss: the
// player walks into the hall and stands among the dragonflies until the game is over,
// then clicks back to the title. slow: the loss on a machine whose frames take 50 ms.
// All end with Escape at the title.
#include <windows.h>

#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>
#include <velmora/Replay.h>

#include <cstdio>
#include <functional>
#include <string>

#include "BossFighter.h"
#include "CharaBase.h"
#include "GameHelpers.h"
#include "PlayDigests.h"
#include "SceneManager.h"

namespace headless = velmora::headless;

namespace {

const int FRAME_LIMIT = 60000;
const int SCENE_TITLE = 0, SCENE_PLAY = 1, SCENE_GAME_OVER = 3;

int sceneNow() { return g_sceneManager && g_sceneManager->currentScene ? g_sceneManager->currentScene->sceneId : -1; }

// Returns true once back at the title after losing.
class StandingLoser {
public:
    bool onFrame(int frame) {
        if (frame == 10) headless::setKeyDown(VK_LBUTTON, true);
        if (frame == 11) headless::setKeyDown(VK_LBUTTON, false);
        const int scene = sceneNow();
        if (scene == SCENE_PLAY)
            for (const CharaBase* player : game::objectsOfKind(KIND_PLAYER))
                headless::setKeyDown('W', player->TransMatrix._43 > 0.0f);
        if (scene == SCENE_GAME_OVER && gameOverAt_ < 0) {
            gameOverAt_ = frame;
            headless::releaseAllKeys();
        }
        if (gameOverAt_ >= 0) headless::setKeyDown(VK_LBUTTON, frame == gameOverAt_ + 30);
        return gameOverAt_ >= 0 && frame > gameOverAt_ + 30 && scene == SCENE_TITLE;
    }

private:
    int gameOverAt_ = -1;
};

}  // namespace

int main(int argc, char** argv) {
    const std::string kind = argc == 3 ? argv[1] : "";
    if (kind != "win" && kind != "loss" && kind != "slow") {
        std::fprintf(stderr, "usage: velmora_record_play win|loss|slow OUT\n");
        return 2;
    }
    const std::string out = argv[2];
    velmora::selectBackend(velmora::Backend::Real);
    headless::queueMessageBoxAnswer(IDNO);  // windowed
    if (kind == "slow") velmora::setPresentDuration(50);
    velmora::replay::startRecording();

    gametest::BossFighter fighter;
    StandingLoser loser;
    bool done = false;
    PlayDigests play = PlayDigests::ofWinMain([&](int frame, unsigned long long) {
        if (done || frame >= FRAME_LIMIT) {
            headless::setKeyDown(VK_ESCAPE, true);
            return;
        }
        if (kind == "win") {
            fighter.onFrame(frame);
            done = fighter.finished();
        } else {
            done = loser.onFrame(frame);
        }
        if (frame % 1000 == 0) std::fprintf(stderr, "frame %d scene %d\n", frame, sceneNow());
    });
    std::string problem;
    if (!velmora::replay::saveRecording(out + ".vrp", problem) || !play.save(out + ".digests")) {
        std::fprintf(stderr, "velmora_record_play: cannot write %s: %s\n", out.c_str(), problem.c_str());
        return 1;
    }
    const bool reached = kind == "win" ? fighter.won() : done;
    std::printf("%s %s: %d frames, digest %016llx\n", kind.c_str(), reached ? "played" : "NOT reached", play.frames(),
                play.final());
    if (kind == "win" && !reached) std::printf("%s", fighter.journal().c_str());
    return reached ? 0 : 1;
}
