// Frames drawn by the real OpenGL renderer at 1280 x 720 (Mesa llvmpipe on a machine
// without a GPU): the title screen, and a play in the hall with a few dragonflies about;
// and a play in a 1920 x 1080 window, drawn at that size or at 1280 x 720 and stretched.
// Each frame is the whole pass of the frame loop without its pacing: update, Present
// (the blit to the window and the swap) and the draw. Run it under Xvfb
// (xvfb-run -a -s "-screen 0 1920x1080x24"); without DISPLAY it uses SDL's offscreen
// driver.
#include <benchmark/benchmark.h>

#include <SDL.h>
#include <velmora/Settings.h>

#include <ctime>

#include "DragonFly.h"
#include "GameHelpers.h"
#include "Graphics.h"
#include "PlaySession.h"
#include "SubField.h"

namespace {

const std::size_t STARTING_OBJECTS = 20;

// CPU time of the whole process, llvmpipe's rendering threads included: less disturbed by
// other work on a shared machine than the wall time.
double processCpuSeconds() {
    timespec now;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void reportProcessCpu(benchmark::State& state, double startSeconds) {
    state.counters["process_cpu_ms/frame"] = benchmark::Counter(
        (processCpuSeconds() - startSeconds) * 1000.0 / static_cast<double>(state.iterations()));
}
const int SWARM_FRAMES = 200;

void addSwarm(bench::PlaySession& session, int count) {
    session.placePlayer(0.0f, 0.0f, 20.0f);
    for (int i = 0; i < count; ++i) session.objects().push_back(new DragonFly(0.03f + 0.01f * (i % 7)));
}

void BM_GlFrame_Title(benchmark::State& state) {
    bench::PlaySession session(velmora::Backend::Real, bench::PlaySession::Start::Title);
    if (!session.ready()) {
        state.SkipWithError("no OpenGL 3.3 device (run under Xvfb) or no game data");
        return;
    }
    const double cpuStart = processCpuSeconds();
    for (auto _ : state) session.frame();
    reportProcessCpu(state, cpuStart);
}
BENCHMARK(BM_GlFrame_Title)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// A play in the hall with `range(0)` dragonflies besides the twenty starting objects.
void BM_GlFrame_Play(benchmark::State& state) {
    bench::PlaySession session(velmora::Backend::Real);
    if (!session.ready()) {
        state.SkipWithError("no OpenGL 3.3 device (run under Xvfb) or no game data");
        return;
    }
    const int swarm = static_cast<int>(state.range(0));
    addSwarm(session, swarm);
    int frames = 0;
    double pausedCpu = 0.0;
    const double cpuStart = processCpuSeconds();
    for (auto _ : state) {
        session.frame();
        if (++frames == SWARM_FRAMES || !session.playing()) {
            state.PauseTiming();
            const double pauseStart = processCpuSeconds();
            if (!session.playing()) session.restartPlay();
            session.trimObjects(STARTING_OBJECTS);
            addSwarm(session, swarm);
            frames = 0;
            pausedCpu += processCpuSeconds() - pauseStart;
            state.ResumeTiming();
        }
    }
    reportProcessCpu(state, cpuStart + pausedCpu);
}
BENCHMARK(BM_GlFrame_Play)->Arg(0)->Arg(30)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// The frame after a wall slide: the ray code reads a face of the arena through read-only
// locks of its index and vertex buffers, then the frame is drawn.
void BM_GlFrame_AfterWallSlide(benchmark::State& state) {
    bench::PlaySession session(velmora::Backend::Real);
    if (!session.ready()) {
        state.SkipWithError("no OpenGL 3.3 device (run under Xvfb) or no game data");
        return;
    }
    ID3DXMesh* arena = game::arenaMesh();
    const double cpuStart = processCpuSeconds();
    for (auto _ : state) {
        void* bytes = nullptr;
        if (SUCCEEDED(arena->LockIndexBuffer(D3DLOCK_READONLY, &bytes))) arena->UnlockIndexBuffer();
        if (SUCCEEDED(arena->LockVertexBuffer(D3DLOCK_READONLY, &bytes))) arena->UnlockVertexBuffer();
        session.frame();
        if (!session.playing()) {
            state.PauseTiming();
            session.restartPlay();
            arena = game::arenaMesh();
            state.ResumeTiming();
        }
    }
    reportProcessCpu(state, cpuStart);
}
BENCHMARK(BM_GlFrame_AfterWallSlide)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

// The same locks followed by the arena's draw alone: the frame loop thread's share (the CPU
// column), which a whole frame on llvmpipe buries in its rendering threads' noise.
void BM_GlArena_DrawAfterWallSlide(benchmark::State& state) {
    bench::PlaySession session(velmora::Backend::Real);
    if (!session.ready()) {
        state.SkipWithError("no OpenGL 3.3 device (run under Xvfb) or no game data");
        return;
    }
    ID3DXMesh* arena = game::arenaMesh();
    IDirect3DDevice9* device = Graphics::get().device;
    int draws = 0;
    for (auto _ : state) {
        void* bytes = nullptr;
        if (SUCCEEDED(arena->LockIndexBuffer(D3DLOCK_READONLY, &bytes))) arena->UnlockIndexBuffer();
        if (SUCCEEDED(arena->LockVertexBuffer(D3DLOCK_READONLY, &bytes))) arena->UnlockVertexBuffer();
        game::drawModel(g_subField.mesh, game::arenaWorld());
        // A frame's worth of draws, then they are rendered and shown.
        if (++draws == 30) {
            state.PauseTiming();
            device->Present(nullptr, nullptr, nullptr, nullptr);
            draws = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_GlArena_DrawAfterWallSlide)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// The game window's pixel size once SDL has applied it; false when it never does.
bool resizeGameWindow(int width, int height) {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    if (!window) return false;
    SDL_SetWindowSize(window, width, height);
    int drawnWidth = 0, drawnHeight = 0;
    for (int tries = 0; tries < 100; ++tries) {
        SDL_PumpEvents();
        SDL_GL_GetDrawableSize(window, &drawnWidth, &drawnHeight);
        if (drawnWidth == width && drawnHeight == height) return true;
        SDL_Delay(10);
    }
    return false;
}

// A play in a 16:9 window `range(0)` pixels wide with the render scale setting at
// `range(1)` (0: the window's size, 1: 1280 x 720). Needs an X screen that large.
void BM_GlFrame_PlayInWindow(benchmark::State& state) {
    const velmora::Settings saved = velmora::settings();
    velmora::settings().renderScale = static_cast<int>(state.range(1));
    bench::PlaySession session(velmora::Backend::Real);
    const int width = static_cast<int>(state.range(0));
    if (!session.ready() || !resizeGameWindow(width, width * 9 / 16)) {
        state.SkipWithError("no OpenGL 3.3 device, no window of that size (run under Xvfb) or no game data");
        velmora::settings() = saved;
        return;
    }
    const double cpuStart = processCpuSeconds();
    double pausedCpu = 0.0;
    for (auto _ : state) {
        session.frame();
        if (!session.playing()) {
            state.PauseTiming();
            const double pauseStart = processCpuSeconds();
            session.restartPlay();
            pausedCpu += processCpuSeconds() - pauseStart;
            state.ResumeTiming();
        }
    }
    reportProcessCpu(state, cpuStart + pausedCpu);
    velmora::settings() = saved;
}
BENCHMARK(BM_GlFrame_PlayInWindow)
    ->Args({1280, 0})
    ->Args({1920, 0})
    ->Args({1920, 1})
    ->ArgNames({"width", "scale"})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0)
    ->UseRealTime();

}  // namespace
