#include "Synth.h"

#include <algorithm>

namespace assetgen {
namespace {

float polyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

}  // namespace

float Synth::saw(float phase, float step) { return 2 * phase - 1 - polyBlep(phase, step); }

float Synth::square(float phase, float step, float width) {
    float value = phase < width ? 1.0f : -1.0f;
    value += polyBlep(phase, step);
    value -= polyBlep(wrap(phase - width + 1), step);
    return value;
}

float Synth::adsr(float t, float gate, float attack, float decay, float sustain, float release) {
    auto held = [&](float time) {
        if (time < attack) return time / attack;
        if (time < attack + decay) return 1 - (1 - sustain) * (time - attack) / decay;
        return sustain;
    };
    if (t < 0) return 0;
    if (t < gate) return held(t);
    float fall = (t - gate) / release;
    return fall >= 1 ? 0 : held(gate) * (1 - fall) * (1 - fall);
}

Filter::Outputs Filter::process(float input, float cutoffHz, float resonance) {
    cutoffHz = std::min(std::max(cutoffHz, 10.0f), Synth::kRate * 0.45f);
    const float g = std::tan(3.14159265f * cutoffHz / Synth::kRate);
    const float k = 2 - 2 * std::min(resonance, 0.98f);
    const float a1 = 1 / (1 + g * (g + k));
    const float a2 = g * a1;
    const float a3 = g * a2;
    const float v3 = input - ic2_;
    const float v1 = a1 * ic1_ + a2 * v3;
    const float v2 = ic2_ + a2 * ic1_ + a3 * v3;
    ic1_ = 2 * v1 - ic1_;
    ic2_ = 2 * v2 - ic2_;
    return {v2, v1, input - k * v1 - v2};
}

}  // namespace assetgen
