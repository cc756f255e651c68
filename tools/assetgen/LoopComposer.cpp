#include "LoopComposer.h"

#include <cmath>
#include <stdexcept>

namespace assetgen {

LoopComposer::LoopComposer(int bpm, int bars, int beatsPerBar)
    : bpm_(bpm),
      bars_(bars),
      beatsPerBar_(beatsPerBar),
      samplesPerBeat_(AudioClip::kSampleRate * 60L / bpm),
      loop_(static_cast<size_t>(samplesPerBeat_ * bars * beatsPerBar)) {
    if (AudioClip::kSampleRate * 60L % bpm != 0) throw std::invalid_argument("tempo does not divide the sample rate");
}

void LoopComposer::add(const AudioClip& sound, float beat, float gain) {
    loop_.mix(sound, std::lround(beat * samplesPerBeat_), gain, true);
}

void LoopComposer::echo(float delayBeats, float feedback, float wet) {
    const long length = static_cast<long>(loop_.size());
    const long delay = std::lround(delayBeats * samplesPerBeat_);
    // y[n] = x[n] + feedback * y[n - delay] around the circle: a few passes settle it.
    AudioClip echoed = loop_;
    for (int pass = 0; pass < 10; ++pass)
        for (long n = 0; n < length; ++n)
            echoed[size_t(n)] = loop_[size_t(n)] + feedback * echoed[size_t(((n - delay) % length + length) % length)];
    for (long n = 0; n < length; ++n) loop_[size_t(n)] += wet * (echoed[size_t(n)] - loop_[size_t(n)]);
}

AudioClip LoopComposer::finish(float peakDb) const {
    AudioClip out = loop_;
    out.normalize(peakDb);
    return out;
}

}  // namespace assetgen
