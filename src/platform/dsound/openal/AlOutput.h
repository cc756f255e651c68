// The one OpenAL Soft device and context under every DirectSound device object, and the
// pool of sources that playing buffers borrow.
#pragma once

#include "AudioOutput.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cstddef>
#include <vector>

namespace velmora::dsound {

class AlOutput final : public AudioOutput {
public:
    AlOutput() = default;
    ~AlOutput() override;
    AlOutput(const AlOutput&) = delete;
    AlOutput& operator=(const AlOutput&) = delete;

    bool open(OutputKind kind, unsigned loopbackRate) override;
    bool isOpen() const { return context_ != nullptr; }
    // Counts the openings: OpenAL names made by an earlier one are gone with its context.
    unsigned opening() const { return opening_; }
    // Every source must have been released.
    void close() override;
    std::unique_ptr<Voice> startVoice(const std::shared_ptr<const PcmData>& data, DWORD cursor, bool looping,
                                      const VoiceParams& params) override;
    // The game's gain times the player's master volume (settings().volume).
    void setListenerGain(float gain) override;
    // Takes a change of the master volume.
    void applyVolume();
    // Holds every playing source where it is, or lets the held ones play on.
    void pauseAll(bool paused);
    std::vector<float> render(std::size_t frames) override;

    // Sources are given back by the voices that borrowed them.
    void releaseSource(ALuint source);

private:
    // False when all sources are lent out.
    bool acquireSource(ALuint& source);
    bool openLoopback(unsigned rate);

    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples_ = nullptr;
    std::vector<ALuint> freeSources_;
    std::vector<ALuint> allSources_;
    std::vector<ALuint> pausedSources_;
    float gameGain_ = 1.0f;
    unsigned opening_ = 0;
};

}  // namespace velmora::dsound
