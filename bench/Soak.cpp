// A long headless run of the whole game (WinMain with its frame loop and virtual clock)
// under random input: walking keys, mouse look and the button, so that plays start,
// end and start again. Every virtual minute it prints the scene, the objects, the
// dragonflies flying, the resident memory and the real time spent.
//
//   velmora_soak [--minutes N] [--seed S] [--immortal] [--no-draw-log] [--trace]
//
// --immortal gives the player its life back every frame, so that one play lasts the
// whole run and its dragonflies pile up (about 900 in an hour): the heaviest case.
// --no-draw-log turns the headless device's draw log off (it keeps the last frames' draws
// for tests).
// --trace adds to each minute's line a digest of every object's state in every frame so
// far (Kind, Life, Active, Mode, Dead, Caught, matrices): two builds that print the same
// digests for the same seed played the same game, frame for frame.
#include <windows.h>

#include <velmora/DrawLog.h>
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "ProcessStats.h"
#include "CharaBase.h"
#include "SceneManager.h"
#include "StateDigest.h"

namespace headless = velmora::headless;

namespace {

const int FRAMES_PER_MINUTE = 60000 / 16;
const int FULL_LIFE = 10;

struct Options {
    int minutes = 60;
    unsigned seed = 1;
    bool immortal = false;
    bool drawLog = true;
    bool trace = false;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--minutes" && i + 1 < argc) {
            options.minutes = std::atoi(argv[++i]);
        } else if (arg == "--seed" && i + 1 < argc) {
            options.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--immortal") {
            options.immortal = true;
        } else if (arg == "--no-draw-log") {
            options.drawLog = false;
        } else if (arg == "--trace") {
            options.trace = true;
        } else {
            return false;
        }
    }
    return options.minutes > 0;
}

// Keys held for a random while, the mouse swept in random strokes.
class RandomPlayer {
public:
    explicit RandomPlayer(unsigned seed) : random_(seed) {}

    void step() {
        static const int keys[5] = {'W', 'A', 'S', 'D', VK_LBUTTON};
        for (int i = 0; i < 5; ++i) {
            if (--held_[i] > 0) continue;
            down_[i] = !down_[i] && (random_() % 3 != 0);
            held_[i] = 5 + static_cast<int>(random_() % 90);
            headless::setKeyDown(keys[i], down_[i]);
        }
        if (--strokeFrames_ <= 0) {
            strokeX_ = static_cast<int>(random_() % 21) - 10;
            strokeY_ = static_cast<int>(random_() % 7) - 3;
            strokeFrames_ = 10 + static_cast<int>(random_() % 60);
        }
        headless::moveMouse(strokeX_, strokeY_);
    }

private:
    std::mt19937 random_;
    bool down_[5] = {};
    int held_[5] = {};
    int strokeX_ = 0, strokeY_ = 0, strokeFrames_ = 0;
};

void printMinute(int minute, std::chrono::steady_clock::time_point start) {
    int dragonflies = 0, flying = 0;
    const SceneId scene = g_sceneManager && g_sceneManager->currentScene ? g_sceneManager->currentScene->sceneId : -1;
    const std::size_t objects = g_sceneManager ? g_sceneManager->objects.size() : 0;
    for (std::size_t i = 0; i < objects; ++i) {
        const CharaBase* object = g_sceneManager->objects[i];
        if (object->Kind != KIND_DRAGONFLY) continue;
        ++dragonflies;
        if (object->Active == 1 && object->Mode == 1) ++flying;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("minute %3d  scene %d  objects %5zu  dragonflies %4d (flying %4d)  rss %7.1f MB  peak %7.1f MB  "
                "real %7.1f s",
                minute, scene, objects, dragonflies, flying, bench::residentBytes() / 1048576.0,
                bench::peakResidentBytes() / 1048576.0, seconds);
}

void endLine(const Options& options, const StateDigest& digest) {
    if (options.trace) std::printf("  digest %016llx", digest.value());
    std::printf("\n");
    std::fflush(stdout);
}

void keepPlayerAlive() {
    if (!g_sceneManager) return;
    for (CharaBase* object : g_sceneManager->objects)
        if (object->Kind == KIND_PLAYER && object->Life > 0) object->Life = FULL_LIFE;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: velmora_soak [--minutes N] [--seed S] [--immortal] [--no-draw-log] [--trace]\n");
        return 2;
    }
    std::filesystem::current_path(VELMORA_RUN_DIR);
    velmora::selectBackend(velmora::Backend::Headless);
    headless::resetWin32();
    velmora::audio::resetAudio();
    velmora::setDrawRecording(options.drawLog);
    headless::queueMessageBoxAnswer(IDNO);

    const auto start = std::chrono::steady_clock::now();
    RandomPlayer player(options.seed);
    StateDigest digest;
    const int lastFrame = options.minutes * FRAMES_PER_MINUTE;
    headless::onFrame([&](int frame) {
        if (options.trace) digest.addFrame();
        if (frame % FRAMES_PER_MINUTE == 0) {
            printMinute(frame / FRAMES_PER_MINUTE, start);
            endLine(options, digest);
        }
        if (frame >= lastFrame) {
            headless::setKeyDown(VK_ESCAPE, true);
            return;
        }
        if (options.immortal) keepPlayerAlive();
        player.step();
    });
    static char module;
    char commandLine[] = "";
    const int result = WinMain(reinterpret_cast<HINSTANCE>(&module), nullptr, commandLine, SW_SHOWDEFAULT);
    std::printf("finished: peak rss %.1f MB\n", bench::peakResidentBytes() / 1048576.0);
    return result;
}
