// A long headless play with random input: walking, turning, shooting and throwing, for
// the number of frames given (225000 frames of 16 ms are an hour of game time). Prints
// the dragonflies alive and the resident memory at the end; exits non-zero if the game
// did not end cleanly or a position stopped being a number.
//   longplay <frames> [seed]     (run in the game's run directory)
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "CharaBase.h"
#include "ScriptedPlay.h"

namespace headless = velmora::headless;

namespace {

// Random input held for random stretches, as a restless player gives it.
class RandomPlayer {
public:
    explicit RandomPlayer(unsigned seed) : random_(seed) {}

    void onFrame(int frame) {
        if (frame >= nextWalkChange_) {
            const int keys[4] = {'W', 'A', 'S', 'D'};
            for (int key : keys) headless::setKeyDown(key, pick(0, 2) == 0);
            nextWalkChange_ = frame + pick(20, 180);
        }
        if (frame >= nextTurnChange_) {
            turnX_ = pick(-12, 12);
            turnY_ = pick(-4, 4);
            nextTurnChange_ = frame + pick(10, 120);
        }
        headless::moveMouse(turnX_, turnY_);
        // The left button: taps shoot the thread, a long hold then a release throws
        // what it caught.
        if (frame >= nextButtonChange_) {
            buttonDown_ = !buttonDown_;
            headless::setKeyDown(VK_LBUTTON, buttonDown_);
            nextButtonChange_ = frame + (buttonDown_ ? (pick(0, 3) == 0 ? pick(60, 240) : pick(2, 8)) : pick(5, 90));
        }
    }

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::mt19937 random_;
    int nextWalkChange_ = 0;
    int nextTurnChange_ = 0;
    int nextButtonChange_ = 0;
    int turnX_ = 0;
    int turnY_ = 0;
    bool buttonDown_ = false;
};

long residentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <frames> [seed]\n", argv[0]);
        return 2;
    }
    const int frames = std::atoi(argv[1]);
    const unsigned seed = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 1u;
    if (frames <= 0) {
        std::fprintf(stderr, "the frame count must be positive\n");
        return 2;
    }

    velmora::selectBackend(velmora::Backend::Headless);
    robustness::resetHeadlessPlatform();
    RandomPlayer player(seed);
    int dragonflies = 0;
    robustness::PlayOutcome outcome = robustness::playThroughWinMain(frames, seed * 7919u, [&](int frame) {
        player.onFrame(frame);
        if (frame == frames - 1) dragonflies = robustness::objectsOfKind(KIND_DRAGONFLY);
    });
    const long rss = residentKilobytes();
    robustness::resetHeadlessPlatform();

    std::printf("frames run: %d\nexit code: %d\nreached a play: %s\ndragonflies at the end: %d\n"
                "resident memory: %ld kB\n",
                outcome.framesRun, outcome.exitCode, outcome.reachedPlay ? "yes" : "no", dragonflies, rss);
    if (outcome.firstNonFiniteFrame >= 0)
        std::printf("not finite from frame %d: %s\n", outcome.firstNonFiniteFrame, outcome.nonFiniteWhat.c_str());
    const bool clean = outcome.exitCode == 0 && outcome.framesRun == frames && outcome.firstNonFiniteFrame < 0;
    return clean ? 0 : 1;
}
