// Builds a music loop of whole bars. Notes are mixed modulo the loop length, so a note
// that rings past the end continues at the beginning and the loop point has no seam.
#pragma once

#include "AudioClip.h"

namespace assetgen {

class LoopComposer {
public:
    // bpm must give a whole number of samples per beat, so bars line up exactly.
    LoopComposer(int bpm, int bars, int beatsPerBar = 4);

    int bars() const { return bars_; }
    int beatsPerBar() const { return beatsPerBar_; }
    float beatSeconds() const { return 60.0f / bpm_; }

    void add(const AudioClip& sound, float beat, float gain);
    // A feedback echo that runs around the loop (its tail also wraps).
    void echo(float delayBeats, float feedback, float wet);
    AudioClip finish(float peakDb) const;

private:
    int bpm_, bars_, beatsPerBar_;
    long samplesPerBeat_;
    AudioClip loop_;
};

}  // namespace assetgen
