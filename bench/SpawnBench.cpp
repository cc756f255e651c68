// The Stage's spawn: constructing one more DragonFly in a running play, after the first
// one has brought its meshes, pictures and sound into the platform's caches. Each new
// dragonfly still gets its own meshes, textures and sound buffers.
#include <benchmark/benchmark.h>

#include <velmora/D3DXCache.h>

#include <vector>

#include "DragonFly.h"
#include "PlaySession.h"
#include "ProcessStats.h"

namespace {

// Dragonflies kept before they are deleted, outside the timing.
const std::size_t BATCH = 64;

void BM_DragonFlySpawn(benchmark::State& state) {
    bench::PlaySession session;
    if (!session.ready()) {
        state.SkipWithError("no play: run from the game's folder with the generated data");
        return;
    }
    // In the hall, so that the new ones are born flying with everything loaded (in the
    // start area they would be born empty).
    session.placePlayer(0.0f, 0.0f, 0.0f);
    delete new DragonFly(0.05f);

    const velmora::D3DXCacheStats decodedBefore = velmora::d3dxCacheStats();
    const std::uint64_t readBefore = bench::bytesRead();
    std::vector<DragonFly*> born;
    born.reserve(BATCH);
    bool allLoaded = true;
    for (auto _ : state) {
        born.push_back(new DragonFly(0.05f));
        if (born.size() == BATCH) {
            state.PauseTiming();
            for (DragonFly* fly : born) {
                allLoaded = allLoaded && fly->Active == 1 && fly->BodyMesh.mesh && fly->frontWingMesh.mesh;
                delete fly;
            }
            born.clear();
            state.ResumeTiming();
        }
    }
    for (DragonFly* fly : born) delete fly;
    const std::uint64_t bytesRead = bench::bytesRead() - readBefore;
    const velmora::D3DXCacheStats decodedAfter = velmora::d3dxCacheStats();

    const double spawns = static_cast<double>(state.iterations());
    state.counters["bytes_read/spawn"] = benchmark::Counter(static_cast<double>(bytesRead) / spawns);
    state.counters["files_decoded"] =
        benchmark::Counter(static_cast<double>(decodedAfter.meshFilesDecoded - decodedBefore.meshFilesDecoded +
                                               decodedAfter.imageFilesDecoded - decodedBefore.imageFilesDecoded));
    if (!allLoaded) state.SkipWithError("a dragonfly was born without its meshes");
}
BENCHMARK(BM_DragonFlySpawn)->Unit(benchmark::kMicrosecond);

}  // namespace
