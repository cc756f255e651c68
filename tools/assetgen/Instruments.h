// The voices of the music: each renders one note (or drum hit) as a clip that ends in
// silence, so notes can be mixed anywhere in a loop.
#pragma once

#include "AudioClip.h"

#include <cstdint>

namespace assetgen {

class Instruments {
public:
    static AudioClip pluck(float midiNote, float gate);
    static AudioClip pad(float midiNote, float gate, float brightness);
    static AudioClip bass(float midiNote, float gate);
    static AudioClip lead(float midiNote, float gate);
    static AudioClip brass(float midiNote, float gate);
    static AudioClip bell(float midiNote, float gate);
    static AudioClip kick();
    static AudioClip snare(uint32_t seed);
    static AudioClip hat(bool open, uint32_t seed);
};

}  // namespace assetgen
