#include "AudioClip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace assetgen {
namespace {

void putLittleEndian(std::vector<unsigned char>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xFF));
}

void putTag(std::vector<unsigned char>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

void AudioClip::mix(const AudioClip& other, long start, float gain, bool wrap) {
    const long length = static_cast<long>(samples_.size());
    for (size_t i = 0; i < other.size(); ++i) {
        long at = start + static_cast<long>(i);
        if (wrap) at = ((at % length) + length) % length;
        if (at >= 0 && at < length) samples_[static_cast<size_t>(at)] += other[i] * gain;
    }
}

void AudioClip::removeDcOffset() {
    float previousIn = 0, previousOut = 0;
    for (float& s : samples_) {
        float out = s - previousIn + 0.995f * previousOut;
        previousIn = s;
        previousOut = out;
        s = out;
    }
}

void AudioClip::normalize(float peakDb) {
    float peak = 0;
    for (float s : samples_) peak = std::max(peak, std::fabs(s));
    if (peak <= 0) return;
    const float scale = std::pow(10.0f, -std::fabs(peakDb) / 20.0f) / peak;
    for (float& s : samples_) s *= scale;
}

void AudioClip::fadeEdges(float fadeInSeconds, float fadeOutSeconds) {
    const size_t in = std::min(samples_.size(), static_cast<size_t>(fadeInSeconds * kSampleRate));
    const size_t out = std::min(samples_.size(), static_cast<size_t>(fadeOutSeconds * kSampleRate));
    for (size_t i = 0; i < in; ++i) samples_[i] *= float(i) / in;
    for (size_t i = 0; i < out; ++i) samples_[samples_.size() - 1 - i] *= float(i) / out;
}

void AudioClip::saveWav(const std::string& path) const {
    const uint32_t dataBytes = static_cast<uint32_t>(samples_.size() * 2);
    std::vector<unsigned char> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    putLittleEndian(out, 36 + dataBytes, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2);  // PCM
    putLittleEndian(out, 1, 2);  // mono: 3D sound buffers take one channel only
    putLittleEndian(out, kSampleRate, 4);
    putLittleEndian(out, kSampleRate * 2, 4);
    putLittleEndian(out, 2, 2);
    putLittleEndian(out, 16, 2);
    putTag(out, "data");
    putLittleEndian(out, dataBytes, 4);
    for (float s : samples_) {
        long value = std::lround(std::max(-1.0f, std::min(1.0f, s)) * 32767.0f);
        putLittleEndian(out, static_cast<uint32_t>(static_cast<int16_t>(value)) & 0xFFFF, 2);
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace assetgen
