// The one OpenAL Soft device and context under every DirectSound device object, and the
// pool of sources that playing buffers borrow.
#pragma once

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <cstddef>
#include <vector>

namespace velmora::dsound {

enum class OutputKind {
    DefaultDevice,  // the system's default output
    Loopback,       // rendered into memory on request, for tests
    Missing,        // a device that does not exist, as on a machine without sound
};

class AlOutput {
public:
    // OpenAL Soft's default context size.
    static constexpr unsigned kMaxSources = 256;

    AlOutput() = default;
    ~AlOutput();
    AlOutput(const AlOutput&) = delete;
    AlOutput& operator=(const AlOutput&) = delete;

    bool open(OutputKind kind, unsigned loopbackRate);
    bool isOpen() const { return context_ != nullptr; }
    // Every source must have been released.
    void close();

    // False when all sources are lent out.
    bool acquireSource(ALuint& source);
    void releaseSource(ALuint source);

    void setListenerGain(float gain);
    // Interleaved stereo floats; empty unless this is the loopback device.
    std::vector<float> render(std::size_t frames);

private:
    bool openLoopback(unsigned rate);

    ALCdevice* device_ = nullptr;
    ALCcontext* context_ = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples_ = nullptr;
    std::vector<ALuint> freeSources_;
    std::vector<ALuint> allSources_;
};

}  // namespace velmora::dsound
