// fuzz_seeds <game data folder> <shader folder> <output folder>
#include <cstdio>

#include "Seeds.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <data folder> <shader folder> <output folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path data = argv[1], shaders = argv[2], out = argv[3];
    writeWaveSeeds(data, SeedWriter(out, "wave"));
    writeXFileSeeds(data, SeedWriter(out, "xfile"));
    writePictureSeeds(data, SeedWriter(out, "picture"));
    writeEffectSeeds(shaders, SeedWriter(out, "effect"));
    return 0;
}
