// What recording a play costs a frame: one pass of the frame loop as the game runs it (the
// message poll that starts the frame, the clock read around the frame's update, Present
// and draw, the Escape check), headless, with the twenty starting objects, while a
// scripted player walks and turns; with the recording off and on.
#include <benchmark/benchmark.h>

#include <windows.h>

#include <velmora/HeadlessInput.h>
#include <velmora/Replay.h>

#include "PlaySession.h"

namespace {

const std::size_t STARTING_OBJECTS = 20;
const int WARM_UP_FRAMES = 10;

void loopFrame(bench::PlaySession& session, int frame) {
    velmora::headless::setKeyDown('W', frame % 60 < 30);
    velmora::headless::moveMouse(frame % 7 - 3, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    const DWORD start = timeGetTime();
    session.frame();
    benchmark::DoNotOptimize(timeGetTime() - start);
    benchmark::DoNotOptimize(GetAsyncKeyState(VK_ESCAPE));
}

void BM_LoopFrame_Recording(benchmark::State& state) {
    bench::PlaySession session;
    const bench::DrawRecordingScope drawLog(false);
    if (!session.ready()) {
        state.SkipWithError("no play: run from the game's folder with the generated data");
        return;
    }
    if (state.range(0) != 0) velmora::replay::startRecording();
    int frame = 0;
    for (; frame < WARM_UP_FRAMES; ++frame) loopFrame(session, frame);
    for (auto _ : state) {
        loopFrame(session, frame++);
        if (!session.playing() || session.objects().size() != STARTING_OBJECTS) {
            state.PauseTiming();
            if (!session.playing()) session.restartPlay();
            session.trimObjects(STARTING_OBJECTS);
            state.ResumeTiming();
        }
    }
    velmora::headless::releaseAllKeys();
}
BENCHMARK(BM_LoopFrame_Recording)->ArgName("recording")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
