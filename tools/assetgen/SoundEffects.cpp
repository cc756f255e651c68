// The seventeen sound effects, each synthesised for the event that plays it.
#include "AssetGroups.h"

#include "AudioClip.h"
#include "Instruments.h"
#include "Random.h"
#include "Synth.h"

#include <cmath>
#include <filesystem>
#include <functional>

namespace assetgen {
namespace {

constexpr float kTwoPi = 6.2831853f;

AudioClip render(float seconds, const std::function<float(float)>& sample) {
    AudioClip clip = AudioClip::ofSeconds(seconds);
    for (size_t i = 0; i < clip.size(); ++i) clip[i] = sample(i / Synth::kRate);
    return clip;
}

void save(AudioClip clip, const std::string& path, float peakDb) {
    clip.removeDcOffset();
    clip.fadeEdges(0.002f, 0.02f);
    clip.normalize(peakDb);
    clip.saveWav(path);
}

float decay(float t, float rate) { return std::exp(-t * rate); }

// A rising sparkle: the game begins.
AudioClip start() {
    AudioClip clip = AudioClip::ofSeconds(1.2f);
    const float notes[5] = {72, 76, 79, 84, 88};
    for (int n = 0; n < 5; ++n) clip.mix(Instruments::bell(notes[n], 0.1f), long(n * 0.06f * Synth::kRate), 0.5f, false);
    Random random(11);
    Filter filter;
    AudioClip swoosh = render(0.6f, [&](float t) {
        return filter.bandpass(random.range(-1, 1), 800 + 5000 * t / 0.6f, 0.5f) * std::sin(3.1416f * t / 0.6f) * 0.6f;
    });
    clip.mix(swoosh, 0, 1, false);
    return clip;
}

// A blast: bright crack, then a low rumble that dies away.
AudioClip explosion(float seconds, float body, uint32_t seed) {
    Random random(seed);
    Filter crack, rumble;
    float phase = 0;
    return render(seconds, [&](float t) {
        float noise = random.range(-1, 1);
        float high = crack.lowpass(noise, 6000 * decay(t, 6) + 300, 0.1f) * decay(t, 7);
        float low = rumble.lowpass(noise, 180 + 400 * decay(t, 3), 0.4f) * decay(t, 2.2f / body) * 2.5f;
        float thump = Synth::sine(phase) * decay(t, 8 / body);
        phase = Synth::wrap(phase + (35 + 90 * decay(t, 12)) / Synth::kRate);
        return Synth::softClip((high + low + thump) * 1.2f);
    });
}

// A short mechanical step: a click, a thud and a little servo whine.
AudioClip playerStep() {
    Random random(23);
    Filter click;
    float thud = 0, servo = 0;
    return render(0.2f, [&](float t) {
        float tick = click.highpass(random.range(-1, 1), 2500, 0.3f) * decay(t, 90);
        float low = Synth::sine(thud) * decay(t, 30);
        float whine = Synth::square(servo, 0.05f, 0.5f) * 0.08f * std::sin(3.1416f * std::min(1.0f, t / 0.2f));
        thud = Synth::wrap(thud + (70 + 80 * decay(t, 40)) / Synth::kRate);
        servo = Synth::wrap(servo + (900 + 500 * t) / Synth::kRate);
        return tick * 0.8f + low + whine;
    });
}

// Getting hurt: a harsh falling buzz over a noise hit.
AudioClip damage() {
    Random random(31);
    Filter filter;
    float phase = 0;
    return render(0.45f, [&](float t) {
        float f = 120 + 380 * decay(t, 6);
        float buzz = Synth::softClip(Synth::square(phase, f / Synth::kRate, 0.35f) * 2.5f) * decay(t, 5);
        phase = Synth::wrap(phase + f / Synth::kRate);
        float hit = filter.bandpass(random.range(-1, 1), 1800, 0.3f) * decay(t, 25) * 1.5f;
        return buzz * 0.6f + hit;
    });
}

// The thread shooting out: an airy whoosh with a thin zip on top.
AudioClip threadShot() {
    Random random(41);
    Filter air;
    float zip = 0;
    return render(0.45f, [&](float t) {
        float sweep = 700 + 4500 * std::sin(3.1416f * std::min(1.0f, t / 0.45f));
        float whoosh = air.bandpass(random.range(-1, 1), sweep, 0.6f) * std::sin(3.1416f * t / 0.45f);
        float thin = Synth::sine(zip) * 0.15f * decay(t, 10);
        zip = Synth::wrap(zip + (2400 - 1600 * t) / Synth::kRate);
        return whoosh * 1.5f + thin;
    });
}

// A throw: a heavier, lower whoosh that starts with a push.
AudioClip ballThrow() {
    Random random(43);
    Filter air;
    float phase = 0;
    return render(0.4f, [&](float t) {
        float whoosh = air.bandpass(random.range(-1, 1), 400 + 1800 * decay(t, 5), 0.5f) * std::sin(3.1416f * t / 0.4f);
        float push = Synth::sine(phase) * decay(t, 20);
        phase = Synth::wrap(phase + (90 + 60 * decay(t, 30)) / Synth::kRate);
        return whoosh * 1.4f + push * 0.7f;
    });
}

// Reeling in: ratchet clicks that speed up over a rising whine.
AudioClip reel() {
    Random random(47);
    Filter click;
    float phase = 0, whine = 0;
    return render(0.8f, [&](float t) {
        float rate = 18 + 30 * t;
        phase += rate / Synth::kRate;
        float sinceClick = (phase - std::floor(phase)) / rate;
        float ratchet = click.bandpass(random.range(-1, 1), 3200, 0.6f) * decay(sinceClick, 250);
        float motor = Synth::triangle(whine) * 0.2f;
        whine = Synth::wrap(whine + (300 + 500 * t) / Synth::kRate);
        return ratchet * 2.0f + motor * std::min(1.0f, t * 8);
    });
}

// A soft beep; played every frame while aiming, it sounds once per pass.
AudioClip searchBeep() {
    float phase = 0;
    return render(0.3f, [&](float t) {
        float env = std::min(1.0f, t / 0.01f) * decay(t, 14);
        float v = (Synth::sine(phase) + 0.2f * Synth::sine(Synth::wrap(phase * 2))) * env;
        phase = Synth::wrap(phase + 880 / Synth::kRate);
        return v;
    });
}

// Locked on: two quick higher beeps.
AudioClip lockOn() {
    float phase = 0;
    return render(0.26f, [&](float t) {
        float local = t < 0.11f ? t : t - 0.13f;
        float env = (t < 0.11f || t >= 0.13f) ? std::min(1.0f, local / 0.005f) * decay(local, 25) : 0;
        float f = t < 0.12f ? 1320.0f : 1760.0f;
        float v = Synth::square(phase, f / Synth::kRate, 0.5f) * 0.3f + Synth::sine(phase) * 0.7f;
        phase = Synth::wrap(phase + f / Synth::kRate);
        return v * env;
    });
}

// A dragonfly caught: a snap and a sticky pull.
AudioClip lineHit() {
    Random random(53);
    Filter snap;
    float phase = 0;
    return render(0.32f, [&](float t) {
        float f = 300 + 700 * decay(t, 18);
        float tone = Synth::square(phase, f / Synth::kRate, 0.25f) * decay(t, 12) * 0.5f;
        phase = Synth::wrap(phase + f / Synth::kRate);
        float hit = snap.highpass(random.range(-1, 1), 2000, 0.2f) * decay(t, 60);
        return tone + hit;
    });
}

// A ball bursting: a crunch and scattered fragments.
AudioClip ballBreak() {
    AudioClip clip = explosion(0.5f, 0.4f, 59);
    Random random(61);
    for (int piece = 0; piece < 7; ++piece) {
        float pitch = random.range(1500, 4500);
        Random noise(70 + uint32_t(piece));
        Filter ring;
        AudioClip tick = render(0.12f, [&](float t) { return ring.bandpass(noise.range(-1, 1), pitch, 0.85f) * decay(t, 40) * 2; });
        clip.mix(tick, long(random.range(0.02f, 0.45f) * Synth::kRate), 0.5f, false);
    }
    return clip;
}

// The boss destroyed: several blasts over a long low roar.
AudioClip bossExplosion() {
    AudioClip clip = explosion(2.0f, 2.2f, 67);
    const float offsets[3] = {0.25f, 0.55f, 0.9f};
    for (int i = 0; i < 3; ++i)
        clip.mix(explosion(1.0f, 1.0f, 80 + uint32_t(i)), long(offsets[i] * Synth::kRate), 0.6f - 0.12f * i, false);
    return clip;
}

// The rolled boss chasing: a rumbling roll with a slow wobble, faded at both ends so
// that back-to-back plays join smoothly.
AudioClip rollOver() {
    Random random(71);
    Filter rumble;
    AudioClip clip = render(1.0f, [&](float t) {
        float wobble = 0.7f + 0.3f * std::sin(kTwoPi * 6 * t);
        return rumble.lowpass(random.range(-1, 1), 220, 0.5f) * wobble * 3;
    });
    clip.fadeEdges(0.08f, 0.08f);
    return clip;
}

// The boss's heavy step: a deep thud and a metallic clank.
AudioClip bossStep() {
    Random random(73);
    Filter clank;
    float phase = 0;
    return render(0.5f, [&](float t) {
        float thud = Synth::sine(phase) * decay(t, 9);
        phase = Synth::wrap(phase + (48 + 60 * decay(t, 25)) / Synth::kRate);
        float metal = clank.bandpass(random.range(-1, 1), 900, 0.9f) * decay(t, 18) * 1.5f;
        return Synth::softClip(thud * 1.5f) + metal * 0.5f;
    });
}

// The rolling boss hits a wall: a heavy boom that rings.
AudioClip bound() {
    Random random(79);
    Filter hit;
    float phase = 0, ring = 0;
    return render(0.6f, [&](float t) {
        float boom = Synth::sine(phase) * decay(t, 7);
        phase = Synth::wrap(phase + (60 + 140 * decay(t, 15)) / Synth::kRate);
        float shell = Synth::sine(ring) * decay(t, 9) * 0.3f;
        ring = Synth::wrap(ring + 310 / Synth::kRate);
        float crack = hit.lowpass(random.range(-1, 1), 1500, 0.2f) * decay(t, 30);
        return Synth::softClip(boom * 1.4f) + shell + crack;
    });
}

// Curling up and spinning up: a whirr that rises.
AudioClip firstRoll() {
    Random random(83);
    Filter grind;
    float phase = 0, spin = 0;
    return render(1.2f, [&](float t) {
        float f = 40 + 110 * t;
        spin += (3 + 14 * t) / Synth::kRate;
        float flutter = 0.6f + 0.4f * Synth::sine(Synth::wrap(spin));
        float body = Synth::saw(phase, f / Synth::kRate) * 0.5f;
        phase = Synth::wrap(phase + f / Synth::kRate);
        float noise = grind.lowpass(random.range(-1, 1), 300 + 500 * t, 0.3f);
        return (body + noise * 1.5f) * flutter * std::min(1.0f, t * 4);
    });
}

// Rolling at speed: a steady whirr whose wobble completes whole cycles in the clip.
AudioClip loopRoll() {
    Random random(89);
    Filter grind;
    float phase = 0;
    AudioClip clip = render(1.0f, [&](float t) {
        float flutter = 0.65f + 0.35f * std::sin(kTwoPi * 16 * t);
        float body = Synth::saw(phase, 150 / Synth::kRate) * 0.4f;
        phase = Synth::wrap(phase + 150 / Synth::kRate);
        return (body + grind.lowpass(random.range(-1, 1), 700, 0.3f) * 1.5f) * flutter;
    });
    clip.fadeEdges(0.03f, 0.03f);
    return clip;
}

}  // namespace

void writeSoundEffects(const std::string& dataDir) {
    const std::string dir = dataDir + "/Sound/SE/";
    std::filesystem::create_directories(dir);
    save(start(), dir + "Start.wav", 3);
    save(explosion(1.2f, 1.0f, 17), dir + "ExploSE.wav", 3);
    save(playerStep(), dir + "PlayMoveSE.wav", 6);
    save(damage(), dir + "DamageSE.wav", 3);
    save(threadShot(), dir + "Line.wav", 4);
    save(ballThrow(), dir + "Ball.wav", 4);
    save(reel(), dir + "LineReverse.wav", 5);
    save(searchBeep(), dir + "Search.wav", 10);
    save(lockOn(), dir + "LockOn.wav", 6);
    save(lineHit(), dir + "LineHit.wav", 4);
    save(ballBreak(), dir + "BallBreak.wav", 3);
    save(bossExplosion(), dir + "BossExploSE.wav", 3);
    save(rollOver(), dir + "RollOver.wav", 6);
    save(bossStep(), dir + "BossMove.wav", 4);
    save(bound(), dir + "Bound.wav", 3);
    save(firstRoll(), dir + "FirstRoll.wav", 5);
    save(loopRoll(), dir + "LoopRoll.wav", 6);
}

}  // namespace assetgen
