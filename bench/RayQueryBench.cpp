// Ray queries against the arena mesh: the BVH that D3DXIntersect searches, and a plain
// scan of every face. Before timing, both answer both samples and must agree on every
// hit, face, U, V and distance.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include "PlaySession.h"
#include "RaySample.h"
#include "SubField.h"

namespace {

using velmora::d3dx::PickGeometry;
using velmora::d3dx::Ray;
using velmora::d3dx::RayHit;

const std::size_t SAMPLE_SIZE = 200000;
const std::size_t HALL_SAMPLE_SIZE = 60000;  // ten frames of 1,000 dragonflies
const int PASSES = 5;

bool sameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameAnswer(bool hitA, const RayHit& a, bool hitB, const RayHit& b) {
    if (hitA != hitB) return false;
    return !hitA ||
           (a.face == b.face && sameFloat(a.u, b.u) && sameFloat(a.v, b.v) && sameFloat(a.dist, b.dist));
}

// One way of answering the rays of a sample, with its answers and its fastest pass.
struct Answers {
    std::vector<RayHit> hits;
    std::vector<char> found;
    double seconds = 1e30;

    template <class Query>
    void pass(const std::vector<bench::SampleRay>& rays, Query query) {
        hits.resize(rays.size());
        found.resize(rays.size());
        const auto start = std::chrono::steady_clock::now();
        for (std::size_t i = 0; i < rays.size(); ++i) found[i] = query(Ray(rays[i].origin, rays[i].dir), hits[i]);
        seconds = std::min(seconds, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }

    std::size_t mismatchesWith(const Answers& other) const {
        std::size_t count = 0;
        for (std::size_t i = 0; i < hits.size(); ++i)
            if (!sameAnswer(found[i], hits[i], other.found[i], other.hits[i])) ++count;
        return count;
    }
};

// A sample answered by the scan and the BVH, pass after pass in turn, keeping the fastest
// pass of each (the least disturbed by other work on the machine).
struct SampleCheck {
    Answers scan, search;
    std::size_t hits = 0;
    std::size_t mismatches = 0;

    SampleCheck(const PickGeometry& geometry, const std::vector<bench::SampleRay>& rays) {
        for (int pass = 0; pass < PASSES; ++pass) {
            scan.pass(rays, [&](const Ray& ray, RayHit& hit) { return geometry.scanNearest(ray, hit); });
            search.pass(rays, [&](const Ray& ray, RayHit& hit) { return geometry.nearest(ray, hit); });
        }
        hits = static_cast<std::size_t>(std::count(scan.found.begin(), scan.found.end(), 1));
        mismatches = search.mismatchesWith(scan);
    }
};

// The arena and its ray samples, made and checked once for all ray benchmarks.
struct Arena {
    bench::PlaySession session;
    std::unique_ptr<bench::RaySample> sample;
    std::unique_ptr<SampleCheck> mixed;
    std::unique_ptr<SampleCheck> hall;

    Arena() {
        if (!session.ready()) return;
        sample = std::make_unique<bench::RaySample>(g_subField.mesh.mesh, g_subField.world, SAMPLE_SIZE,
                                                    HALL_SAMPLE_SIZE);
        mixed = std::make_unique<SampleCheck>(sample->geometry(), sample->rays());
        hall = std::make_unique<SampleCheck>(sample->geometry(), sample->hallRays());
    }
};

Arena& arena() {
    static Arena made;
    return made;
}

bool ready(benchmark::State& state) {
    if (!arena().sample) {
        state.SkipWithError("no arena: run from the game's folder with the generated data");
        return false;
    }
    if (arena().mixed->mismatches != 0 || arena().hall->mismatches != 0) {
        state.SkipWithError("the BVH and the scan disagree");
        return false;
    }
    return true;
}

// One ray of `rays` after another, answered by `query`.
template <class Query>
void answerRays(benchmark::State& state, const std::vector<bench::SampleRay>& rays, Query query) {
    std::size_t next = 0;
    for (auto _ : state) {
        const bench::SampleRay& r = rays[next];
        if (++next == rays.size()) next = 0;
        RayHit hit;
        benchmark::DoNotOptimize(query(Ray(r.origin, r.dir), hit));
        benchmark::DoNotOptimize(hit);
    }
}

void reportCheck(benchmark::State& state, const SampleCheck& check, std::size_t rays) {
    state.counters["sample"] = benchmark::Counter(static_cast<double>(rays));
    state.counters["sample_hits"] = benchmark::Counter(static_cast<double>(check.hits));
    state.counters["mismatches"] = benchmark::Counter(static_cast<double>(check.mismatches));
    state.counters["speedup_vs_scan"] = benchmark::Counter(check.scan.seconds / check.search.seconds);
}

void BM_RayQuery_Scan(benchmark::State& state) {
    if (!ready(state)) return;
    const PickGeometry& geometry = arena().sample->geometry();
    answerRays(state, arena().sample->rays(),
               [&](const Ray& ray, RayHit& hit) { return geometry.scanNearest(ray, hit); });
    state.counters["faces"] = benchmark::Counter(geometry.faceCount());
}
BENCHMARK(BM_RayQuery_Scan)->Unit(benchmark::kMicrosecond);

// The BVH D3DXIntersect searches, on the mixed sample.
void BM_RayQuery_Bvh(benchmark::State& state) {
    if (!ready(state)) return;
    const PickGeometry& geometry = arena().sample->geometry();
    answerRays(state, arena().sample->rays(), [&](const Ray& ray, RayHit& hit) { return geometry.nearest(ray, hit); });
    reportCheck(state, *arena().mixed, arena().sample->rays().size());
}
BENCHMARK(BM_RayQuery_Bvh)->Unit(benchmark::kMicrosecond);

// The whole call the game makes, D3DXIntersect on the arena's ID3DXMesh.
void BM_RayQuery_D3DXIntersect(benchmark::State& state) {
    if (!ready(state)) return;
    const auto& rays = arena().sample->rays();
    ID3DXMesh* mesh = g_subField.mesh.mesh;
    std::size_t next = 0;
    for (auto _ : state) {
        const bench::SampleRay& r = rays[next];
        if (++next == rays.size()) next = 0;
        BOOL hit = FALSE;
        DWORD face = 0;
        float dist = 0.0f;
        D3DXIntersect(mesh, &r.origin, &r.dir, &hit, &face, nullptr, nullptr, &dist, nullptr, nullptr);
        benchmark::DoNotOptimize(hit);
        benchmark::DoNotOptimize(dist);
    }
}
BENCHMARK(BM_RayQuery_D3DXIntersect)->Unit(benchmark::kMicrosecond);

// The rays flying dragonflies cast in the hall (shadow and walls), by the scan and by the
// BVH D3DXIntersect searches.
void BM_RayQuery_HallScan(benchmark::State& state) {
    if (!ready(state)) return;
    const PickGeometry& geometry = arena().sample->geometry();
    answerRays(state, arena().sample->hallRays(),
               [&](const Ray& ray, RayHit& hit) { return geometry.scanNearest(ray, hit); });
}
BENCHMARK(BM_RayQuery_HallScan)->Unit(benchmark::kMicrosecond);

void BM_RayQuery_HallBvh(benchmark::State& state) {
    if (!ready(state)) return;
    const PickGeometry& geometry = arena().sample->geometry();
    answerRays(state, arena().sample->hallRays(),
               [&](const Ray& ray, RayHit& hit) { return geometry.nearest(ray, hit); });
    reportCheck(state, *arena().hall, arena().sample->hallRays().size());
}
BENCHMARK(BM_RayQuery_HallBvh)->Unit(benchmark::kMicrosecond);

}  // namespace
