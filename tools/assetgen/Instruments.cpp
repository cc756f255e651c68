#include "Instruments.h"

#include "Random.h"
#include "Synth.h"

#include <cmath>

namespace assetgen {
namespace {

AudioClip clipFor(float seconds) { return AudioClip::ofSeconds(seconds); }

}  // namespace

AudioClip Instruments::pluck(float midiNote, float gate) {
    const float release = 0.25f, f = Synth::hz(midiNote), step = f / Synth::kRate;
    AudioClip clip = clipFor(gate + release);
    Filter filter;
    float phase = 0, phase2 = 0.3f;
    for (size_t i = 0; i < clip.size(); ++i) {
        float t = i / Synth::kRate;
        float env = Synth::adsr(t, gate, 0.004f, 0.25f, 0.15f, release) * std::exp(-t * 2.5f);
        float raw = Synth::saw(phase, step) * 0.6f + Synth::square(phase2, step * 1.003f, 0.3f) * 0.4f;
        float cutoff = 600 + 5000 * std::exp(-t * 9.0f);
        clip[i] = filter.lowpass(raw, cutoff, 0.2f) * env;
        phase = Synth::wrap(phase + step);
        phase2 = Synth::wrap(phase2 + step * 1.003f);
    }
    return clip;
}

AudioClip Instruments::pad(float midiNote, float gate, float brightness) {
    const float release = 0.9f, f = Synth::hz(midiNote);
    AudioClip clip = clipFor(gate + release);
    Filter filter;
    const float detune[3] = {-0.006f, 0.0f, 0.0071f};
    float phases[3] = {0.0f, 0.33f, 0.71f};
    for (size_t i = 0; i < clip.size(); ++i) {
        float t = i / Synth::kRate;
        float env = Synth::adsr(t, gate, 0.35f, 0.4f, 0.8f, release);
        float raw = 0;
        for (int v = 0; v < 3; ++v) {
            float step = f * (1 + detune[v]) / Synth::kRate;
            raw += Synth::saw(phases[v], step) / 3;
            phases[v] = Synth::wrap(phases[v] + step);
        }
        float cutoff = brightness * (0.8f + 0.2f * std::sin(t * 1.7f));
        clip[i] = filter.lowpass(raw, cutoff, 0.1f) * env;
    }
    return clip;
}

AudioClip Instruments::bass(float midiNote, float gate) {
    const float release = 0.08f, f = Synth::hz(midiNote), step = f / Synth::kRate;
    AudioClip clip = clipFor(gate + release);
    Filter filter;
    float phase = 0, sub = 0;
    for (size_t i = 0; i < clip.size(); ++i) {
        float t = i / Synth::kRate;
        float env = Synth::adsr(t, gate, 0.005f, 0.15f, 0.7f, release);
        float raw = Synth::saw(phase, step) * 0.7f + Synth::sine(sub) * 0.6f;
        float cutoff = 250 + 1400 * std::exp(-t * 14.0f);
        clip[i] = Synth::softClip(filter.lowpass(raw, cutoff, 0.35f) * 1.4f) * env;
        phase = Synth::wrap(phase + step);
        sub = Synth::wrap(sub + step * 0.5f);
    }
    return clip;
}

AudioClip Instruments::lead(float midiNote, float gate) {
    const float release = 0.2f, f = Synth::hz(midiNote);
    AudioClip clip = clipFor(gate + release);
    Filter filter;
    float phase = 0;
    for (size_t i = 0; i < clip.size(); ++i) {
        float t = i / Synth::kRate;
        // Vibrato fades in on held notes only.
        float vibrato = 1 + 0.006f * std::sin(2 * 3.14159265f * 5.5f * t) * std::min(1.0f, std::max(0.0f, t - 0.15f) * 3);
        float step = f * vibrato / Synth::kRate;
        float env = Synth::adsr(t, gate, 0.01f, 0.2f, 0.75f, release);
        float raw = Synth::square(phase, step, 0.5f) * 0.5f + Synth::saw(phase, step) * 0.5f;
        clip[i] = filter.lowpass(raw, 1800 + 1500 * env, 0.3f) * env;
        phase = Synth::wrap(phase + step);
    }
    return clip;
}

AudioClip Instruments::brass(float midiNote, float gate) {
    const float release = 0.18f, f = Synth::hz(midiNote), step = f / Synth::kRate;
    AudioClip clip = clipFor(gate + release);
    Filter filter;
    float phases[2] = {0, 0.5f};
    for (size_t i = 0; i < clip.size(); ++i) {
        float t = i / Synth::kRate;
        float env = Synth::adsr(t, gate, 0.04f, 0.3f, 0.8f, release);
        float raw = Synth::saw(phases[0], step) * 0.5f + Synth::saw(phases[1], step * 1.004f) * 0.5f;
        float swell = 1 - std::exp(-t * 18.0f);
        clip[i] = filter.lowpass(raw, 500 + 2600 * swell * env, 0.15f) * env;
        phases[0] = Synth::wrap(phases[0] + step);
        phases[1] = Synth::wrap(phases[1] + step * 1.004f);
    }
    return clip;
}

AudioClip Instruments::bell(float midiNote, float gate) {
    const float f = Synth::hz(midiNote);
    AudioClip clip = clipFor(gate + 1.6f);
    float carrier = 0, modulator = 0;
    for (size_t i = 0; i < clip.size(); ++i) {
        float t = i / Synth::kRate;
        float env = std::exp(-t * 2.2f) * std::min(1.0f, t / 0.003f);
        float tail = std::min(1.0f, (clip.size() - i) / (0.05f * Synth::kRate));
        float index = 2.5f * std::exp(-t * 4.0f);
        clip[i] = Synth::sine(Synth::wrap(carrier + index * Synth::sine(modulator) / (2 * 3.14159265f))) * env * tail;
        carrier = Synth::wrap(carrier + f / Synth::kRate);
        modulator = Synth::wrap(modulator + f * 3.5f / Synth::kRate);
    }
    return clip;
}

AudioClip Instruments::kick() {
    AudioClip clip = clipFor(0.4f);
    float phase = 0;
    for (size_t i = 0; i < clip.size(); ++i) {
        float t = i / Synth::kRate;
        float f = 45 + 120 * std::exp(-t * 30.0f);
        float env = std::exp(-t * 9.0f) * std::min(1.0f, t / 0.002f);
        clip[i] = Synth::softClip(Synth::sine(phase) * 1.6f) * env;
        phase = Synth::wrap(phase + f / Synth::kRate);
    }
    clip.fadeEdges(0, 0.03f);
    return clip;
}

AudioClip Instruments::snare(uint32_t seed) {
    AudioClip clip = clipFor(0.3f);
    Random random(seed);
    Filter filter;
    float phase = 0;
    for (size_t i = 0; i < clip.size(); ++i) {
        float t = i / Synth::kRate;
        float noise = filter.bandpass(random.range(-1, 1), 3500, 0.2f) * 1.8f;
        float body = Synth::sine(phase) * std::exp(-t * 25.0f);
        clip[i] = (noise * std::exp(-t * 16.0f) + body * 0.7f) * std::min(1.0f, t / 0.001f);
        phase = Synth::wrap(phase + (185 + 40 * std::exp(-t * 40.0f)) / Synth::kRate);
    }
    clip.fadeEdges(0, 0.02f);
    return clip;
}

AudioClip Instruments::hat(bool open, uint32_t seed) {
    AudioClip clip = clipFor(open ? 0.25f : 0.06f);
    Random random(seed);
    Filter filter;
    for (size_t i = 0; i < clip.size(); ++i) {
        float t = i / Synth::kRate;
        float env = std::exp(-t * (open ? 14.0f : 70.0f));
        clip[i] = filter.highpass(random.range(-1, 1), 7000, 0.1f) * env;
    }
    clip.fadeEdges(0.0005f, 0.01f);
    return clip;
}

}  // namespace assetgen
