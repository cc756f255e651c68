// Oscillators and envelopes shared by the music and the sound effects. Phases run in
// [0, 1); `step` is the phase advance per sample.
#pragma once

#include "AudioClip.h"

#include <cmath>

namespace assetgen {

class Synth {
public:
    static constexpr float kRate = static_cast<float>(AudioClip::kSampleRate);

    static float hz(float midiNote) { return 440.0f * std::pow(2.0f, (midiNote - 69.0f) / 12.0f); }
    static float sine(float phase) { return std::sin(2 * 3.14159265f * phase); }
    static float triangle(float phase) { return 1 - 4 * std::fabs(phase - std::floor(phase + 0.5f)); }
    // Band-limited with polyBLEP so that high notes do not alias.
    static float saw(float phase, float step);
    static float square(float phase, float step, float width = 0.5f);
    // Attack-decay-sustain-release level at time t of a note held for `gate` seconds.
    static float adsr(float t, float gate, float attack, float decay, float sustain, float release);
    static float softClip(float x) { return std::tanh(x); }
    static float wrap(float phase) { return phase - std::floor(phase); }
};

// Zero-delay state-variable filter; one instance per voice.
class Filter {
public:
    struct Outputs {
        float low, band, high;
    };
    // resonance: 0 (none) to about 0.95.
    Outputs process(float input, float cutoffHz, float resonance);
    float lowpass(float input, float cutoffHz, float resonance = 0) { return process(input, cutoffHz, resonance).low; }
    float bandpass(float input, float cutoffHz, float resonance = 0) { return process(input, cutoffHz, resonance).band; }
    float highpass(float input, float cutoffHz, float resonance = 0) { return process(input, cutoffHz, resonance).high; }

private:
    float ic1_ = 0, ic2_ = 0;
};

}  // namespace assetgen
