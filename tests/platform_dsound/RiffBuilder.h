// Builds small RIFF files byte by byte for the tests, and a scratch folder to put them in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace riff {

std::string le16(uint16_t value);
std::string le32(uint32_t value);
// id, size, data and the pad byte that an odd size needs.
std::string chunk(const char* id, const std::string& data);
// "RIFF" or "LIST" with its form type in front of the sub-chunks.
std::string form(const char* id, const char* formType, const std::string& subChunks);
// The 16-byte PCM format ("fmt " chunk data).
std::string pcmFormat(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample);
// A whole PCM WAVE file.
std::string wave(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample, const std::string& data);

// Bytes 0, 1, 2, ... wrapping at 251 (a prime, so no buffer size lines up with it).
std::string pattern(std::size_t size);

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Writes the file and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace riff
