// Plays a recorded play back through the game's WinMain and prints its state digest as
// velmora_soak --trace does: headless as fast as it goes, or in a window at normal speed
// (--window). --record makes a recording in a window instead, printing the same digests,
// so that a recording can be shown to replay to the state it was made in.
//
//   velmora_replay FILE [--window] [--every-frame] [--expect DIGESTS] [--save-digests DIGESTS]
//                       [--screenshot PNG]
//   velmora_replay --record FILE [--every-frame] [--save-digests DIGESTS] [--screenshot PNG]
//
// --expect compares the play with the digests saved from an earlier one and names the
// first frame whose state differs. --screenshot writes the last image drawn.
// Exit status: 0 done (and as expected), 1 the states differ, 2 bad usage, 3 refused file.
#include <windows.h>

#include <velmora/DrawLog.h>
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>
#include <velmora/Replay.h>
#include <velmora/Screenshot.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "PlayDigests.h"

namespace {

const int FRAMES_PER_MINUTE = 60000 / 16;

struct Options {
    std::string file;
    bool record = false;
    bool window = false;
    bool everyFrame = false;
    std::string expect;
    std::string saveDigests;
    std::string screenshot;
};

bool parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasNext = i + 1 < argc;
        if (arg == "--record" && hasNext) {
            options.record = true;
            options.file = argv[++i];
        } else if (arg == "--window") {
            options.window = true;
        } else if (arg == "--every-frame") {
            options.everyFrame = true;
        } else if (arg == "--expect" && hasNext) {
            options.expect = argv[++i];
        } else if (arg == "--save-digests" && hasNext) {
            options.saveDigests = argv[++i];
        } else if (arg == "--screenshot" && hasNext) {
            options.screenshot = argv[++i];
        } else if (arg.compare(0, 2, "--") != 0 && options.file.empty()) {
            options.file = arg;
        } else {
            return false;
        }
    }
    return !options.file.empty() && !(options.record && !options.expect.empty());
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: velmora_replay FILE [--window] [--every-frame] [--expect DIGESTS] "
                     "[--save-digests DIGESTS] [--screenshot PNG]\n"
                     "       velmora_replay --record FILE [--every-frame] [--save-digests DIGESTS] "
                     "[--screenshot PNG]\n");
        return 2;
    }
    // Without the game's files a replay still runs, to states of its own: refuse instead.
    std::error_code noError;
    if (!std::filesystem::is_directory("data", noError) || !std::filesystem::is_directory("Shader", noError)) {
        std::fprintf(stderr, "velmora_replay: no data/ and Shader/ here; run it in the game's folder (build/game)\n");
        return 2;
    }
    PlayDigests expected;
    if (!options.expect.empty() && !PlayDigests::load(options.expect, expected)) {
        std::fprintf(stderr, "velmora_replay: cannot read the digests in %s\n", options.expect.c_str());
        return 2;
    }

    const bool inWindow = options.window || options.record;
    velmora::selectBackend(inWindow ? velmora::Backend::Real : velmora::Backend::Headless);
    velmora::headless::resetWin32();
    velmora::audio::resetAudio();
    velmora::setDrawRecording(false);
    std::string problem;
    if (options.record) {
        velmora::headless::queueMessageBoxAnswer(IDNO);  // windowed
        if (!velmora::replay::startRecording(options.file, problem)) {
            std::fprintf(stderr, "velmora_replay: cannot record to %s: %s\n", options.file.c_str(), problem.c_str());
            return 2;
        }
    } else if (!velmora::replay::startReplay(options.file, problem)) {
        std::fprintf(stderr, "velmora_replay: %s refused: %s\n", options.file.c_str(), problem.c_str());
        return 3;
    } else if (velmora::replay::replayIsCut()) {
        std::printf("cut short after %lu frames\n", velmora::replay::replayFrames());
    }

    velmora::Image lastImage;
    PlayDigests play = PlayDigests::ofWinMain([&](int frame, unsigned long long running) {
        if (options.everyFrame)
            std::printf("frame %6d  digest %016llx\n", frame, running);
        else if (frame % FRAMES_PER_MINUTE == 0)
            std::printf("minute %3d  digest %016llx\n", frame / FRAMES_PER_MINUTE, running);
        // The image drawn last frame, before this frame's Present shows it.
        if (!options.screenshot.empty()) velmora::readBackBuffer(lastImage);
    });
    std::printf("frames %d  digest %016llx\n", play.frames(), play.final());

    int status = 0;
    if (options.record && !velmora::replay::finishRecording(problem)) {
        std::fprintf(stderr, "velmora_replay: %s\n", problem.c_str());
        status = 2;
    }
    if (!options.saveDigests.empty() && !play.save(options.saveDigests)) {
        std::fprintf(stderr, "velmora_replay: cannot write %s\n", options.saveDigests.c_str());
        status = 2;
    }
    if (!options.screenshot.empty() && !velmora::writePng(lastImage, options.screenshot)) {
        std::fprintf(stderr, "velmora_replay: cannot write %s\n", options.screenshot.c_str());
        status = 2;
    }
    if (!options.expect.empty()) {
        const int parted = play.firstDifference(expected);
        if (parted >= 0) {
            std::printf("the states part at frame %d (the play has %d frames, %d expected)\n", parted, play.frames(),
                        expected.frames());
            status = 1;
        } else {
            std::printf("same states as expected in all %d frames\n", play.frames());
        }
    }
    return status;
}
