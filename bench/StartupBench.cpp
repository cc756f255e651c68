// Process start to the first title frame on the screen: the start-up probe (the game's
// own start-up on the real backend) is started as a new process and reports on a pipe.
// The time is taken up to the start of the frame after the one that presented the
// title, so it includes that frame's draw and its pacing: an upper bound by up to 16 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

struct StartupTimes {
    bool ok = false;
    double drawnMs = 0.0;
    double presentedMs = 0.0;
};

StartupTimes startOnce() {
    StartupTimes times;
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return times;
    std::string writeEnd = std::to_string(pipeEnds[1]);
    char* arguments[] = {const_cast<char*>(VELMORA_STARTUP_PROBE), writeEnd.data(), nullptr};

    const Clock::time_point start = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, VELMORA_STARTUP_PROBE, nullptr, nullptr, arguments, environ);
    close(pipeEnds[1]);
    if (spawned == 0) {
        char mark;
        while (read(pipeEnds[0], &mark, 1) == 1) {
            if (mark == 'd') times.drawnMs = msSince(start);
            if (mark == 'p') {
                times.presentedMs = msSince(start);
                times.ok = times.drawnMs > 0.0;
            }
        }
        int status = 0;
        waitpid(child, &status, 0);
        times.ok = times.ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    close(pipeEnds[0]);
    return times;
}

void BM_StartupToTitle(benchmark::State& state) {
    double drawn = 0.0;
    for (auto _ : state) {
        const StartupTimes times = startOnce();
        if (!times.ok) {
            state.SkipWithError("the start-up probe did not reach the title (no display or no OpenGL 3.3?)");
            return;
        }
        state.SetIterationTime(times.presentedMs / 1000.0);
        drawn += times.drawnMs;
    }
    state.counters["title_drawn_ms"] = benchmark::Counter(drawn / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_StartupToTitle)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
