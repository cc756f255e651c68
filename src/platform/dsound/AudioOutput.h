// The audio output under every DirectSound device object, one per backend: openal/ plays
// through OpenAL Soft, headless/ plays nothing and moves its voices with the virtual
// clock. The backend chosen at start-up (velmora::selectBackend) hands its output to
// useAudioOutput; the sound system opens it when the first device object is made.
#pragma once

#include "PcmData.h"
#include "Voice.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace velmora::dsound {

enum class OutputKind {
    DefaultDevice,  // the system's default output
    Loopback,       // rendered into memory on request, for tests
    Missing,        // a device that does not exist, as on a machine without sound
};

class AudioOutput {
public:
    // OpenAL Soft's default context size; every output runs out of voices at the same count.
    static constexpr unsigned kMaxVoices = 256;

    virtual ~AudioOutput() = default;
    // False when there is no such device.
    virtual bool open(OutputKind kind, unsigned loopbackRate) = 0;
    // Every voice must have ended.
    virtual void close() = 0;
    // A voice for a buffer that starts playing, or null when every voice is taken.
    virtual std::unique_ptr<Voice> startVoice(const std::shared_ptr<const PcmData>& data, DWORD cursor,
                                              bool looping, const VoiceParams& params) = 0;
    virtual void setListenerGain(float gain) = 0;
    // Interleaved stereo floats; empty unless this is a loopback device.
    virtual std::vector<float> render(std::size_t frames) = 0;
};

// Takes effect at the next device object, as a change of backend does.
void useAudioOutput(AudioOutput& output);

}  // namespace velmora::dsound
