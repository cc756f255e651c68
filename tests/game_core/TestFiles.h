// Small files written by the tests themselves into a temporary folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Writes `bytes` to the relative path, creating its folders.
    std::string write(const std::string& relative, const std::vector<uint8_t>& bytes) const;
    std::string write(const std::string& relative, const std::string& text) const;

private:
    std::string path_;
};

// Changes the working directory for the life of the object (the game reads every file
// relative to it).
class ScopedWorkingDirectory {
public:
    explicit ScopedWorkingDirectory(const std::string& path);
    ~ScopedWorkingDirectory();

private:
    std::string previous_;
};

// An uncompressed 24-bit BMP of one colour (0xRRGGBB).
std::vector<uint8_t> solidBmp(int width, int height, uint32_t rgb);

// A text .x file: one quad of two triangles, the first with a red material without a
// picture, the second with a half-transparent green one that names `textureFile`.
std::string twoMaterialQuad(const std::string& textureFile);
