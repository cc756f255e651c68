// One frame of a play on the headless backend: every object's update, the Present, and
// the draw pass submitted to the device (checked, not rasterised). Reported per frame,
// with the allocations of the frames in which no dragonfly was born (a birth constructs
// an object and its meshes; every other frame should allocate nothing).
//
// "recorded:1" keeps the headless device's draw log on, as in the tests: every draw is
// then copied with its state; "recorded:0" measures the game and the platform's own work.
#include <benchmark/benchmark.h>

#include "AllocationCounter.h"
#include "DragonFly.h"
#include "PlaySession.h"

namespace {

const std::size_t STARTING_OBJECTS = 20;
// A fresh swarm before the first ones reach the player (the nearest are born ~30 away
// and fly at most 0.09 a frame) or the play could end.
const int SWARM_FRAMES = 200;

// Frames run untimed after a play starts or a swarm is made: the first frames of new
// objects fill the platform's per-buffer caches, the sprites' and effect's saved-state
// lists and the draw log's reusable records.
const int WARM_UP_FRAMES = 10;

void warmUp(bench::PlaySession& session) {
    for (int i = 0; i < WARM_UP_FRAMES; ++i) session.frame();
}

// Dragonflies born in the hall while the player stands at its far end, by the bridge.
void addSwarm(bench::PlaySession& session, int count) {
    session.placePlayer(30.0f, 0.0f, -66.0f);
    for (int i = 0; i < count; ++i) session.objects().push_back(new DragonFly(0.03f + 0.01f * (i % 7)));
    warmUp(session);
}

int flyingDragonflies(bench::PlaySession& session) {
    int flying = 0;
    for (const CharaBase* object : session.objects())
        if (object->Kind == KIND_DRAGONFLY && object->Active == 1 && object->Mode == 1) ++flying;
    return flying;
}

// Allocations of the frames without a birth.
class FrameAllocations {
public:
    __attribute__((noinline)) void frame(bench::PlaySession& session) {
        const std::size_t objectsBefore = session.objects().size();
        const std::uint64_t before = bench::allocationCount();
        session.frame();
        if (session.objects().size() != objectsBefore) return;
        allocations_ += bench::allocationCount() - before;
        ++frames_;
    }
    void report(benchmark::State& state) const {
        if (frames_ > 0)
            state.counters["allocs/frame"] =
                benchmark::Counter(static_cast<double>(allocations_) / static_cast<double>(frames_));
    }

private:
    std::uint64_t allocations_ = 0;
    std::uint64_t frames_ = 0;
};

// The twenty objects a play starts with; the dragonflies the play spawns at random are
// taken out again so that every frame has the same work.
void BM_PlayFrame_StartingObjects(benchmark::State& state) {
    bench::PlaySession session;
    const bench::DrawRecordingScope recording(state.range(0) != 0);
    if (!session.ready()) {
        state.SkipWithError("no play: run from the game's folder with the generated data");
        return;
    }
    warmUp(session);
    FrameAllocations allocations;
    for (auto _ : state) {
        allocations.frame(session);
        if (!session.playing() || session.objects().size() != STARTING_OBJECTS) {
            state.PauseTiming();
            if (!session.playing()) {
                session.restartPlay();
                warmUp(session);
            }
            session.trimObjects(STARTING_OBJECTS);
            state.ResumeTiming();
        }
    }
    allocations.report(state);
}
BENCHMARK(BM_PlayFrame_StartingObjects)->ArgName("recorded")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A long play: the twenty objects and `range(0)` dragonflies alive and flying.
void BM_PlayFrame_Dragonflies(benchmark::State& state) {
    bench::PlaySession session;
    const bench::DrawRecordingScope recording(state.range(1) != 0);
    if (!session.ready()) {
        state.SkipWithError("no play: run from the game's folder with the generated data");
        return;
    }
    const int swarm = static_cast<int>(state.range(0));
    addSwarm(session, swarm);
    FrameAllocations allocations;
    int frames = 0;
    double flying = 0.0;
    for (auto _ : state) {
        allocations.frame(session);
        if (++frames == SWARM_FRAMES || !session.playing()) {
            state.PauseTiming();
            flying += flyingDragonflies(session) * static_cast<double>(frames);
            if (!session.playing()) session.restartPlay();
            session.trimObjects(STARTING_OBJECTS);
            addSwarm(session, swarm);
            frames = 0;
            state.ResumeTiming();
        }
    }
    flying += flyingDragonflies(session) * static_cast<double>(frames);
    allocations.report(state);
    // How many were still flying at the end of each swarm's frames, averaged over frames.
    state.counters["flying"] = benchmark::Counter(flying / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_PlayFrame_Dragonflies)
    ->ArgNames({"dragonflies", "recorded"})
    ->ArgsProduct({{250, 1000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
