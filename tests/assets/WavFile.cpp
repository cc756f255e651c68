#include "WavFile.h"

#include "TestData.h"

#include <cstdint>
#include <cstring>

namespace assettest {
namespace {

uint32_t little(const std::vector<unsigned char>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v |= uint32_t(b[at + i]) << (8 * i);
    return v;
}

}  // namespace

WavFile WavFile::read(const std::string& path) {
    WavFile wav;
    const std::vector<unsigned char> bytes = readBytes(path);
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) || std::memcmp(bytes.data() + 8, "WAVE", 4)) return wav;
    bool haveFormat = false;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const uint32_t size = little(bytes, at + 4, 4);
        const size_t body = at + 8;
        if (body + size > bytes.size()) return wav;
        if (!std::memcmp(bytes.data() + at, "fmt ", 4) && size >= 16) {
            wav.format = int(little(bytes, body, 2));
            wav.channels = int(little(bytes, body + 2, 2));
            wav.sampleRate = int(little(bytes, body + 4, 4));
            wav.bitsPerSample = int(little(bytes, body + 14, 2));
            haveFormat = true;
        } else if (!std::memcmp(bytes.data() + at, "data", 4) && haveFormat) {
            if (wav.bitsPerSample == 16 && wav.channels == 1)
                for (size_t i = 0; i + 1 < size; i += 2)
                    wav.samples.push_back(int16_t(little(bytes, body + i, 2)) / 32768.0);
            wav.valid = true;
        }
        at = body + size + (size & 1);
    }
    return wav;
}

}  // namespace assettest
