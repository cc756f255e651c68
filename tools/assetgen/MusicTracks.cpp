// The four music loops. Each is a whole number of bars mixed with LoopComposer, so
// it repeats without a seam.
#include "AssetGroups.h"

#include "Instruments.h"
#include "LoopComposer.h"

#include <filesystem>
#include <vector>

namespace assetgen {
namespace {

struct Note {
    float beat;    // from the start of the loop
    float pitch;   // MIDI note
    float length;  // beats
};

struct Chord {
    std::vector<float> tones;  // MIDI notes, lowest first
    float root;                // bass note
};

// A melody written bar by bar as (pitch, beats) pairs; pitch 0 is a rest.
std::vector<Note> melody(int firstBar, const std::vector<std::vector<std::pair<float, float>>>& bars, int beatsPerBar = 4) {
    std::vector<Note> notes;
    for (size_t b = 0; b < bars.size(); ++b) {
        float beat = float((firstBar + int(b)) * beatsPerBar);
        for (const auto& [pitch, length] : bars[b]) {
            if (pitch > 0) notes.push_back({beat, pitch, length});
            beat += length;
        }
    }
    return notes;
}

void padChords(LoopComposer& song, const std::vector<Chord>& chords, float brightness, float gain) {
    const float bar = float(song.beatsPerBar());
    for (size_t b = 0; b < chords.size(); ++b)
        for (float tone : chords[b].tones)
            song.add(Instruments::pad(tone, bar * song.beatSeconds() * 0.95f, brightness), b * bar, gain);
}

void playMelody(LoopComposer& song, const std::vector<Note>& notes, AudioClip (*voice)(float, float), float gain,
                float legato) {
    for (const Note& n : notes) song.add(voice(n.pitch, n.length * song.beatSeconds() * legato), n.beat, gain);
}

Chord chord(std::vector<float> tones, float root) { return {std::move(tones), root}; }

void writeTitle(const std::string& path) {
    // A minor, calm and wide: the thread waiting in the dark.
    LoopComposer song(100, 16);
    const Chord Am = chord({57, 60, 64}, 45), F = chord({53, 57, 60}, 41), C = chord({55, 60, 64}, 48),
                G = chord({55, 59, 62}, 43), E = chord({52, 56, 59}, 40), Em = chord({52, 55, 59}, 40);
    const std::vector<Chord> chords = {Am, F, C, G, Am, F, G, E, F, G, Em, Am, F, G, E, E};
    padChords(song, chords, 1400, 0.18f);
    for (size_t b = 0; b < chords.size(); ++b) {
        const auto& t = chords[b].tones;
        const float pattern[8] = {t[0] + 12, t[1] + 12, t[2] + 12, t[0] + 24, t[2] + 12, t[1] + 12, t[0] + 24, t[2] + 12};
        for (int e = 0; e < 8; ++e)
            song.add(Instruments::pluck(pattern[e], 0.25f), b * 4 + e * 0.5f, b < 4 ? 0.12f : 0.16f);
        song.add(Instruments::bass(chords[b].root, 3.6f * song.beatSeconds()), b * 4.0f, 0.35f);
        if (b >= 8) {
            song.add(Instruments::kick(), b * 4.0f, 0.5f);
            song.add(Instruments::kick(), b * 4 + 2.5f, 0.35f);
            for (int e = 0; e < 4; ++e) song.add(Instruments::hat(false, 100 + unsigned(b * 8 + e)), b * 4 + e + 0.5f, 0.12f);
        } else if (b >= 4) {
            song.add(Instruments::kick(), b * 4.0f, 0.35f);
        }
    }
    playMelody(song,
               melody(4, {{{76, 2}, {74, 1}, {72, 1}}, {{69, 3}, {72, 1}}, {{71, 2}, {74, 2}}, {{68, 2}, {71, 2}},
                          {{72, 1.5f}, {69, 0.5f}, {77, 2}}, {{74, 1.5f}, {71, 0.5f}, {79, 2}}, {{76, 1}, {79, 1}, {83, 2}},
                          {{81, 3}, {76, 1}}, {{77, 2}, {76, 1}, {72, 1}}, {{74, 2}, {71, 2}}, {{68, 2}, {71, 1}, {74, 1}},
                          {{76, 4}}}),
               Instruments::bell, 0.3f, 0.9f);
    song.echo(0.75f, 0.35f, 0.3f);
    song.finish(4).saveWav(path);
}

void writePlay(const std::string& path) {
    // D minor at 140: a chase across the arena.
    LoopComposer song(140, 24);
    const Chord Dm = chord({62, 65, 69}, 38), Bb = chord({58, 62, 65}, 34), C = chord({60, 64, 67}, 36),
                A = chord({57, 61, 64}, 33), Gm = chord({55, 58, 62}, 43), F = chord({57, 60, 65}, 41);
    const std::vector<Chord> chords = {Dm, Dm, Bb, C, Dm, Dm, Bb, A, Gm, Bb, F, C, Gm, Bb, A, A,
                                       Dm, Bb, F, C, Dm, Bb, C, A};
    padChords(song, chords, 1100, 0.1f);
    for (size_t b = 0; b < chords.size(); ++b) {
        const float bar = b * 4.0f, root = chords[b].root;
        const float bassLine[8] = {root, root, root + 12, root, root, root + 12, root + 7, root + 12};
        for (int e = 0; e < 8; ++e) song.add(Instruments::bass(bassLine[e], 0.42f * song.beatSeconds()), bar + e * 0.5f, 0.42f);
        song.add(Instruments::kick(), bar, 0.8f);
        song.add(Instruments::kick(), bar + 1.5f, 0.5f);
        song.add(Instruments::kick(), bar + 2, 0.8f);
        song.add(Instruments::snare(7 + unsigned(b)), bar + 1, 0.45f);
        song.add(Instruments::snare(9 + unsigned(b)), bar + 3, 0.45f);
        for (int s = 0; s < 16; ++s)
            song.add(Instruments::hat(s % 8 == 6, 300 + unsigned(b * 16 + s)), bar + s * 0.25f, s % 2 ? 0.06f : 0.11f);
        if (b % 8 == 7)
            for (int s = 0; s < 4; ++s) song.add(Instruments::snare(50 + unsigned(s)), bar + 3 + s * 0.25f, 0.2f + 0.06f * s);
        if (b < 8) {
            const auto& t = chords[b].tones;
            const float riff[16] = {t[0], t[1], t[2], t[1], t[0] + 12, t[2], t[1], t[2],
                                    t[0], t[1], t[2], t[0] + 12, t[2] + 12, t[0] + 12, t[2], t[1]};
            for (int s = 0; s < 16; ++s) song.add(Instruments::pluck(riff[s] + 12, 0.12f), bar + s * 0.25f, 0.11f);
        }
    }
    playMelody(song,
               melody(8, {{{67, 1}, {70, 1}, {74, 1.5f}, {72, 0.5f}}, {{74, 1}, {77, 1}, {74, 1}, {70, 1}},
                          {{72, 1.5f}, {69, 0.5f}, {65, 1}, {69, 1}}, {{67, 1}, {72, 1}, {76, 2}},
                          {{79, 1.5f}, {77, 0.5f}, {74, 1}, {70, 1}}, {{77, 1.5f}, {74, 0.5f}, {70, 1}, {74, 1}},
                          {{76, 1}, {73, 1}, {69, 1}, {76, 1}}, {{81, 3}, {0, 1}},
                          {{74, 0.5f}, {77, 0.5f}, {81, 1}, {79, 1}, {77, 1}}, {{77, 1}, {74, 1}, {70, 2}},
                          {{72, 0.5f}, {77, 0.5f}, {81, 1}, {79, 1}, {77, 1}}, {{76, 1}, {79, 1}, {84, 2}},
                          {{86, 1.5f}, {84, 0.5f}, {81, 1}, {77, 1}}, {{74, 1}, {77, 1}, {82, 2}},
                          {{84, 1}, {82, 1}, {81, 1}, {79, 1}}, {{81, 2}, {76, 1}, {73, 1}}}),
               Instruments::lead, 0.22f, 0.92f);
    song.echo(0.75f, 0.25f, 0.18f);
    song.finish(4).saveWav(path);
}

void writeResult(const std::string& path) {
    // C major fanfare for the cleared stage.
    LoopComposer song(126, 16);
    const Chord C = chord({60, 64, 67}, 36), F = chord({60, 65, 69}, 41), G = chord({59, 62, 67}, 43),
                Am = chord({60, 64, 69}, 45), Em = chord({59, 64, 67}, 40);
    const std::vector<Chord> chords = {C, F, G, C, Am, F, G, G, C, Em, F, C, F, G, C, G};
    padChords(song, chords, 1800, 0.14f);
    for (size_t b = 0; b < chords.size(); ++b) {
        const float bar = b * 4.0f, root = chords[b].root;
        for (int e = 0; e < 8; ++e)
            song.add(Instruments::bass(e % 2 ? root + 12 : root, 0.45f * song.beatSeconds()), bar + e * 0.5f, 0.35f);
        song.add(Instruments::kick(), bar, 0.6f);
        song.add(Instruments::kick(), bar + 2, 0.6f);
        song.add(Instruments::snare(20 + unsigned(b)), bar + 1, 0.35f);
        song.add(Instruments::snare(40 + unsigned(b)), bar + 3, 0.35f);
        for (int e = 0; e < 8; ++e) song.add(Instruments::hat(false, 500 + unsigned(b * 8 + e)), bar + e * 0.5f, 0.08f);
        const auto& t = chords[b].tones;
        for (int e = 0; e < 4; ++e) song.add(Instruments::bell(t[e % 3] + 24, 0.2f), bar + e + 0.5f, 0.07f);
    }
    playMelody(song,
               melody(0, {{{72, 0.5f}, {76, 0.5f}, {79, 1}, {84, 2}}, {{81, 1.5f}, {79, 0.5f}, {77, 1}, {81, 1}},
                          {{79, 2}, {74, 1}, {79, 1}}, {{76, 3}, {0, 1}}, {{81, 1}, {84, 1}, {83, 1}, {81, 1}},
                          {{77, 1.5f}, {81, 0.5f}, {84, 2}}, {{83, 1}, {81, 1}, {79, 1}, {77, 1}}, {{74, 2}, {79, 2}},
                          {{84, 2}, {79, 1}, {76, 1}}, {{83, 2}, {79, 2}}, {{81, 1}, {84, 1}, {77, 2}},
                          {{76, 1}, {79, 1}, {84, 2}}, {{81, 1}, {77, 1}, {84, 1}, {81, 1}},
                          {{83, 1.5f}, {86, 0.5f}, {83, 1}, {79, 1}}, {{84, 3}, {0, 1}}, {{79, 1}, {77, 1}, {76, 1}, {74, 1}}}),
               Instruments::brass, 0.3f, 0.9f);
    song.echo(0.5f, 0.2f, 0.15f);
    song.finish(4).saveWav(path);
}

void writeGameOver(const std::string& path) {
    // C minor, slow: the machine lies still.
    LoopComposer song(70, 8);
    const Chord Cm = chord({55, 60, 63}, 36), Ab = chord({56, 60, 63}, 44), Fm = chord({53, 56, 60}, 41),
                G = chord({55, 59, 62}, 43);
    const std::vector<Chord> chords = {Cm, Ab, Fm, G, Cm, Ab, Fm, G};
    padChords(song, chords, 700, 0.22f);
    for (size_t b = 0; b < chords.size(); ++b) {
        song.add(Instruments::bass(chords[b].root, 3.5f * song.beatSeconds()), b * 4.0f, 0.3f);
        song.add(Instruments::kick(), b * 4.0f, 0.25f);
        song.add(Instruments::kick(), b * 4 + 0.5f, 0.15f);
    }
    playMelody(song,
               melody(0, {{{79, 2}, {75, 2}}, {{72, 3}, {75, 1}}, {{77, 1.5f}, {75, 0.5f}, {74, 2}}, {{71, 4}},
                          {{79, 2}, {77, 1}, {75, 1}}, {{72, 2}, {68, 2}}, {{65, 1.5f}, {68, 0.5f}, {72, 2}},
                          {{71, 2}, {74, 2}}}),
               Instruments::bell, 0.35f, 0.95f);
    song.echo(1.0f, 0.4f, 0.35f);
    song.finish(5).saveWav(path);
}

}  // namespace

void writeMusic(const std::string& dataDir) {
    const std::string dir = dataDir + "/Sound/BGM";
    std::filesystem::create_directories(dir);
    writeTitle(dir + "/TitleBGM.wav");
    writePlay(dir + "/PlayBGM.wav");
    writeResult(dir + "/ResultBGM.wav");
    writeGameOver(dir + "/GameOverBGM.wav");
}

}  // namespace assetgen
