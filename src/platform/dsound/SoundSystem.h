// What all DirectSound device objects share: the audio output (opened once, kept until a
// reset), the registry of live secondary buffers, and the voices that playing buffers
// take. Main thread only, like the game.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <vector>

#include "AudioOutput.h"
#include "PcmData.h"
#include "Voice.h"

namespace velmora::dsound {

class SecondaryBuffer;

class SoundSystem {
public:
    static SoundSystem& instance();

    // Opens the output for a new device object; false when there is no audio device.
    // A failure is remembered, so that later devices fail at once instead of probing
    // the sound system again on every spawn. A change of output starts over.
    bool openOutput();
    // The output the next opening uses (see useAudioOutput).
    void useOutput(AudioOutput& output) { selected_ = &output; }
    void deviceCreated() { ++liveDevices_; }
    void deviceDestroyed() { --liveDevices_; }
    unsigned liveDevices() const { return liveDevices_; }

    unsigned addBuffer(SecondaryBuffer* buffer);
    void removeBuffer(unsigned id);
    // Copies, so that callers may detach buffers while walking it.
    std::vector<SecondaryBuffer*> buffers() const;

    // A voice for a buffer that starts playing, or null when every voice is taken.
    std::unique_ptr<Voice> startVoice(std::shared_ptr<const PcmData> data, DWORD cursor, bool looping,
                                      const VoiceParams& params);
    void countPlayCall() { ++playCalls_; }
    unsigned playCalls() const { return playCalls_; }
    void setListenerGain(float gain) {
        if (opened_) opened_->setListenerGain(gain);
    }

    // Test control (velmora/HeadlessAudio.h).
    void reset(OutputKind kind, unsigned loopbackRate);
    std::vector<float> renderMix(std::size_t frames) {
        return opened_ ? opened_->render(frames) : std::vector<float>{};
    }

private:
    SoundSystem() = default;

    // One-shots that played to their end give their voices back.
    void reclaimEndedVoices();

    enum class OutputState { Closed, Open, Failed };

    OutputKind kind_ = OutputKind::DefaultDevice;
    unsigned loopbackRate_ = 0;
    OutputState state_ = OutputState::Closed;
    AudioOutput* selected_ = nullptr;
    AudioOutput* opened_ = nullptr;  // the output last opened (or tried), until a reset closes it
    bool closesAtExit_ = false;
    unsigned liveDevices_ = 0;
    unsigned playCalls_ = 0;
    unsigned nextBufferId_ = 1;
    std::map<unsigned, SecondaryBuffer*> buffers_;
};

}  // namespace velmora::dsound
