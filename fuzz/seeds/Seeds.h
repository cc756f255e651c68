// The seed sets of the four fuzz targets.
#pragma once

#include <filesystem>

#include "SeedWriter.h"

// Shortened copies of the game's sounds, and WAV files of other layouts and formats.
void writeWaveSeeds(const std::filesystem::path& dataFolder, const SeedWriter& out);
// The game's small meshes, and text and binary files with frames, materials and references.
void writeXFileSeeds(const std::filesystem::path& dataFolder, const SeedWriter& out);
// The game's pictures shrunk (as PNG and BMP), and other encodings of both formats.
void writePictureSeeds(const std::filesystem::path& dataFolder, const SeedWriter& out);
// The game's effect file and small variations of the format.
void writeEffectSeeds(const std::filesystem::path& shaderFolder, const SeedWriter& out);
