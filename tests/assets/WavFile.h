// A WAVE file read through mmio the way the game's sound loader walks it: the RIFF/WAVE
// form, its "fmt " chunk and its "data" chunk.
#pragma once

#include <string>
#include <vector>

namespace assettest {

struct WavFile {
    bool valid = false;  // RIFF/WAVE with a fmt and a data chunk
    int format = 0;      // 1 = PCM
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    std::vector<double> samples;  // 16-bit mono data scaled to -1..1

    static WavFile read(const std::string& path);
    double seconds() const { return sampleRate ? double(samples.size()) / sampleRate : 0; }
};

}  // namespace assettest
