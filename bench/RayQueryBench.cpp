// Ray queries against the arena mesh: the BVH that D3DXIntersect uses, against a plain
// scan of every face. Before timing, both answer the whole sample and must agree on
// every hit, face, U, V and distance.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

#include "PlaySession.h"
#include "RaySample.h"
#include "SubField.h"

namespace {

using velmora::d3dx::Ray;
using velmora::d3dx::RayHit;

const std::size_t SAMPLE_SIZE = 200000;
const int PASSES = 5;

bool sameFloat(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool sameAnswer(bool hitA, const RayHit& a, bool hitB, const RayHit& b) {
    if (hitA != hitB) return false;
    return !hitA ||
           (a.face == b.face && sameFloat(a.u, b.u) && sameFloat(a.v, b.v) && sameFloat(a.dist, b.dist));
}

// The arena and its ray sample, made once for all ray benchmarks.
struct Arena {
    bench::PlaySession session;
    std::unique_ptr<bench::RaySample> sample;
    std::size_t mismatches = 0;
    std::size_t hits = 0;
    double scanSeconds = 0.0;
    double bvhSeconds = 0.0;

    Arena() {
        if (!session.ready()) return;
        sample = std::make_unique<bench::RaySample>(g_subField.mesh.mesh, g_subField.world, SAMPLE_SIZE);
        compare();
    }

    // Answers the whole sample both ways, several times over, keeping the fastest pass of
    // each (the least disturbed by other work on the machine).
    void compare() {
        const velmora::d3dx::PickGeometry& geometry = sample->geometry();
        const std::vector<bench::SampleRay>& rays = sample->rays();
        std::vector<RayHit> scanned(rays.size()), searched(rays.size());
        std::vector<char> scanHit(rays.size()), searchHit(rays.size());
        scanSeconds = bvhSeconds = 1e30;
        for (int pass = 0; pass < PASSES; ++pass) {
            auto start = std::chrono::steady_clock::now();
            for (std::size_t i = 0; i < rays.size(); ++i)
                scanHit[i] = geometry.scanNearest(Ray(rays[i].origin, rays[i].dir), scanned[i]);
            scanSeconds = std::min(scanSeconds, secondsSince(start));
            start = std::chrono::steady_clock::now();
            for (std::size_t i = 0; i < rays.size(); ++i)
                searchHit[i] = geometry.nearest(Ray(rays[i].origin, rays[i].dir), searched[i]);
            bvhSeconds = std::min(bvhSeconds, secondsSince(start));
        }
        for (std::size_t i = 0; i < rays.size(); ++i) {
            if (!sameAnswer(scanHit[i], scanned[i], searchHit[i], searched[i])) ++mismatches;
            if (scanHit[i]) ++hits;
        }
    }

    static double secondsSince(std::chrono::steady_clock::time_point start) {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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
    if (arena().mismatches != 0) {
        state.SkipWithError("the BVH and the scan disagree");
        return false;
    }
    return true;
}

// One ray of the sample after another, answered by `query` (the scan or the BVH).
template <class Query>
void answerSampleRays(benchmark::State& state, Query query) {
    const auto& rays = arena().sample->rays();
    std::size_t next = 0;
    for (auto _ : state) {
        const bench::SampleRay& r = rays[next];
        if (++next == rays.size()) next = 0;
        RayHit hit;
        benchmark::DoNotOptimize(query(Ray(r.origin, r.dir), hit));
        benchmark::DoNotOptimize(hit);
    }
}

void BM_RayQuery_Scan(benchmark::State& state) {
    if (!ready(state)) return;
    const velmora::d3dx::PickGeometry& geometry = arena().sample->geometry();
    answerSampleRays(state, [&](const Ray& ray, RayHit& hit) { return geometry.scanNearest(ray, hit); });
    state.counters["faces"] = benchmark::Counter(geometry.faceCount());
}
BENCHMARK(BM_RayQuery_Scan)->Unit(benchmark::kMicrosecond);

void BM_RayQuery_Bvh(benchmark::State& state) {
    if (!ready(state)) return;
    const auto& rays = arena().sample->rays();
    const velmora::d3dx::PickGeometry& geometry = arena().sample->geometry();
    answerSampleRays(state, [&](const Ray& ray, RayHit& hit) { return geometry.nearest(ray, hit); });
    state.counters["sample"] = benchmark::Counter(static_cast<double>(rays.size()));
    state.counters["sample_hits"] = benchmark::Counter(static_cast<double>(arena().hits));
    state.counters["mismatches"] = benchmark::Counter(static_cast<double>(arena().mismatches));
    state.counters["speedup_vs_scan"] = benchmark::Counter(arena().scanSeconds / arena().bvhSeconds);
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

}  // namespace
