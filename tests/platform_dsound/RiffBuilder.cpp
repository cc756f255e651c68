#include "RiffBuilder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace riff {

std::string le16(uint16_t value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

std::string le32(uint32_t value) { return le16(static_cast<uint16_t>(value)) + le16(static_cast<uint16_t>(value >> 16)); }

std::string chunk(const char* id, const std::string& data) {
    std::string bytes = std::string(id, 4) + le32(static_cast<uint32_t>(data.size())) + data;
    if (data.size() % 2) bytes.push_back('\0');
    return bytes;
}

std::string form(const char* id, const char* formType, const std::string& subChunks) {
    return chunk(id, std::string(formType, 4) + subChunks);
}

std::string pcmFormat(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample) {
    uint16_t blockAlign = static_cast<uint16_t>(channels * bitsPerSample / 8);
    return le16(1) + le16(channels) + le32(samplesPerSecond) + le32(samplesPerSecond * blockAlign) + le16(blockAlign) +
           le16(bitsPerSample);
}

std::string wave(uint16_t channels, uint32_t samplesPerSecond, uint16_t bitsPerSample, const std::string& data) {
    return form("RIFF", "WAVE", chunk("fmt ", pcmFormat(channels, samplesPerSecond, bitsPerSample)) + chunk("data", data));
}

std::string pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i % 251);
    return bytes;
}

ScratchFolder::ScratchFolder() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "velmora-sound-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a scratch folder");
    path_ = tmpl;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::write(const std::string& name, const std::string& bytes) const {
    std::string file = path_ + "/" + name;
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) throw std::runtime_error("cannot write " + file);
    std::fwrite(bytes.data(), 1, bytes.size(), out);
    std::fclose(out);
    return file;
}

}  // namespace riff
