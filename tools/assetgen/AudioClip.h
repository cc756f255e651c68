// A mono sound in floating point, written as a 16-bit PCM WAV file.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace assetgen {

class AudioClip {
public:
    static constexpr int kSampleRate = 22050;

    explicit AudioClip(size_t frames) : samples_(frames, 0.0f) {}
    static AudioClip ofSeconds(float seconds) { return AudioClip(static_cast<size_t>(seconds * kSampleRate)); }

    size_t size() const { return samples_.size(); }
    float& operator[](size_t i) { return samples_[i]; }
    float operator[](size_t i) const { return samples_[i]; }

    // Mixes another clip in from `start`. With wrap, what runs past the end continues
    // at the beginning (music loops are mixed this way, so the seam is seamless).
    void mix(const AudioClip& other, long start, float gain, bool wrap);
    // Takes out any constant offset (pulse waves carry one) with a gentle high-pass.
    void removeDcOffset();
    // Scales so that the loudest sample sits at the given level in dB below full scale.
    void normalize(float peakDb);
    // Short fades against clicks at the start and end of a one-shot sound.
    void fadeEdges(float fadeInSeconds, float fadeOutSeconds);

    // Throws std::runtime_error when the file cannot be written.
    void saveWav(const std::string& path) const;

private:
    std::vector<float> samples_;
};

}  // namespace assetgen
