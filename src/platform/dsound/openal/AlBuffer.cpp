#include "AlBuffer.h"

#include <vector>

namespace velmora::dsound {

namespace {

ALenum alFormat(WORD channels, WORD bits) {
    if (channels == 1) return bits == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return bits == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

// Mono data for the centred layout: every frame copied to both channels.
std::vector<BYTE> monoToStereo(const PcmData& data) {
    WORD sampleBytes = data.format().nBlockAlign;
    std::vector<BYTE> stereo(static_cast<std::size_t>(data.frames()) * sampleBytes * 2);
    const BYTE* in = data.bytes();
    BYTE* out = stereo.data();
    for (DWORD frame = 0; frame < data.frames(); ++frame) {
        for (int side = 0; side < 2; ++side) {
            for (WORD b = 0; b < sampleBytes; ++b) *out++ = in[b];
        }
        in += sampleBytes;
    }
    return stereo;
}

// The buffers made from one revision of the data by one opening of the output. A playing
// voice holds its own reference, so a write or a second layout never pulls a buffer from
// under a source.
class AlCopies final : public OutputCopy {
public:
    AlCopies(unsigned opening, unsigned revision) : opening(opening), revision(revision) {}
    unsigned opening;
    unsigned revision;
    std::shared_ptr<const AlBuffer> asIs;
    std::shared_ptr<const AlBuffer> centred;
};

}  // namespace

std::shared_ptr<const AlBuffer> AlBuffer::of(AlOutput& output, const PcmData& data, bool centred) {
    std::shared_ptr<OutputCopy>& slot = data.outputCopy();
    auto* copies = static_cast<AlCopies*>(slot.get());
    if (!copies || copies->opening != output.opening() || copies->revision != data.revision()) {
        slot = std::make_shared<AlCopies>(output.opening(), data.revision());
        copies = static_cast<AlCopies*>(slot.get());
    }
    const bool stereoCopy = centred && data.format().nChannels == 1;
    std::shared_ptr<const AlBuffer>& buffer = stereoCopy ? copies->centred : copies->asIs;
    if (!buffer) buffer = std::make_shared<const AlBuffer>(output, data, stereoCopy);
    return buffer;
}

AlBuffer::AlBuffer(AlOutput& output, const PcmData& data, bool centred)
    : output_(output), opening_(output.opening()) {
    alGenBuffers(1, &name_);
    const WAVEFORMATEX& format = data.format();
    const ALsizei rate = static_cast<ALsizei>(format.nSamplesPerSec);
    if (centred) {
        std::vector<BYTE> stereo = monoToStereo(data);
        alBufferData(name_, alFormat(2, format.wBitsPerSample), stereo.data(), static_cast<ALsizei>(stereo.size()),
                     rate);
    } else {
        alBufferData(name_, alFormat(format.nChannels, format.wBitsPerSample), data.bytes(),
                     static_cast<ALsizei>(data.frames() * format.nBlockAlign), rate);
    }
}

AlBuffer::~AlBuffer() {
    if (output_.isOpen() && output_.opening() == opening_) alDeleteBuffers(1, &name_);
}

}  // namespace velmora::dsound
