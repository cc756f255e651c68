// assetgen <output-dir>: writes every game data file below <output-dir>/data. The
// output depends on nothing but this program: two runs give the same bytes.
#include "AssetGroups.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output-dir>\n", argv[0]);
        return 2;
    }
    const std::string dataDir = std::string(argv[1]) + "/data";
    try {
        assetgen::writeArenaMeshes(dataDir);
        assetgen::writeSpiderMeshes(dataDir);
        assetgen::writeDragonFlyMeshes(dataDir);
        assetgen::writeBossMeshes(dataDir);
        assetgen::writeLineBallMeshes(dataDir);
        assetgen::writeMeshTextures(dataDir);
        assetgen::writeScreenPictures(dataDir);
        assetgen::writeHudPictures(dataDir);
        assetgen::writeEffectPictures(dataDir);
        assetgen::writeSoundEffects(dataDir);
        assetgen::writeMusic(dataDir);
        assetgen::writeMenuGlyphs(dataDir);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "assetgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
