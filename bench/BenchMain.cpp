// The benchmarks read the game's files relative to the working directory, as the game
// does: they run from the game's folder whichever folder they were started from.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

int main(int argc, char** argv) {
    std::error_code error;
    std::filesystem::current_path(VELMORA_RUN_DIR, error);
    if (error) std::fprintf(stderr, "velmora_bench: cannot enter %s: %s\n", VELMORA_RUN_DIR, error.message().c_str());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
