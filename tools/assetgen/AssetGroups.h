// One function per group of game data; each writes its files below dataDir (the
// "data" folder of the game's working directory), creating folders as needed.
#pragma once

#include <string>

namespace assetgen {

void writeArenaMeshes(const std::string& dataDir);
void writeSpiderMeshes(const std::string& dataDir);
void writeDragonFlyMeshes(const std::string& dataDir);
void writeBossMeshes(const std::string& dataDir);
void writeLineBallMeshes(const std::string& dataDir);
void writeMeshTextures(const std::string& dataDir);
void writeScreenPictures(const std::string& dataDir);
void writeHudPictures(const std::string& dataDir);
void writeEffectPictures(const std::string& dataDir);
void writeSoundEffects(const std::string& dataDir);
void writeMusic(const std::string& dataDir);
void writeMenuGlyphs(const std::string& dataDir);

}  // namespace assetgen
