// A buffer that is playing holds a voice: an OpenAL source in the real backend, a
// clock-driven cursor in the headless one. A stopped buffer holds none, so the number of
// buffers is not limited by the number of sources.
#pragma once

#include <windows.h>

namespace velmora::dsound {

struct VoiceParams {
    float gain;       // linear
    float pitch;      // playback frequency / the format's sample rate
    bool positioned;  // false: centred on the listener, as unpositioned sound plays
    float x, y, z;    // right-handed (OpenAL) coordinates
};

class Voice {
public:
    virtual ~Voice() = default;

    // The play cursor in bytes.
    virtual DWORD cursor() = 0;
    // A one-shot that has played to its end.
    virtual bool ended() = 0;
    virtual void setLooping(bool looping) = 0;
    virtual void seek(DWORD cursor) = 0;
    virtual void apply(const VoiceParams& params) = 0;
};

}  // namespace velmora::dsound
