// Test control of DirectSound: velmora/HeadlessAudio.h.
#include "velmora/HeadlessAudio.h"

#include <mmsystem.h>

#include <string>

#include "SecondaryBuffer.h"
#include "SoundSystem.h"

namespace velmora::audio {

using dsound::OutputKind;
using dsound::SecondaryBuffer;
using dsound::SoundSystem;

std::vector<BufferState> liveBuffers() {
    std::vector<BufferState> states;
    for (SecondaryBuffer* buffer : SoundSystem::instance().buffers()) states.push_back(buffer->state());
    return states;
}

std::optional<BufferState> stateOf(const IUnknown* bufferOr3DBuffer) {
    for (SecondaryBuffer* buffer : SoundSystem::instance().buffers()) {
        if (buffer->exposes(bufferOr3DBuffer)) return buffer->state();
    }
    return std::nullopt;
}

unsigned playCalls() { return SoundSystem::instance().playCalls(); }

unsigned liveDevices() { return SoundSystem::instance().liveDevices(); }

unsigned voicesInUse() {
    unsigned voices = 0;
    for (SecondaryBuffer* buffer : SoundSystem::instance().buffers()) voices += buffer->holdsVoice() ? 1 : 0;
    return voices;
}

uint64_t dataTag(const void* bytes, std::size_t size) { return dsound::hashBytes(bytes, size); }

uint64_t waveDataTag(const char* path) {
    std::string name = path;
    HMMIO file = mmioOpenA(name.data(), nullptr, MMIO_READ);
    if (!file) return 0;
    uint64_t tag = 0;
    MMCKINFO riff {};
    MMCKINFO data {};
    data.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &riff, nullptr, 0) == MMSYSERR_NOERROR && riff.ckid == FOURCC_RIFF &&
        riff.fccType == mmioFOURCC('W', 'A', 'V', 'E') &&
        mmioDescend(file, &data, &riff, MMIO_FINDCHUNK) == MMSYSERR_NOERROR) {
        LONG fileSize = mmioSeek(file, 0, SEEK_END);
        // A data chunk that claims more than the file holds is not a readable WAVE file.
        if (fileSize >= 0 && data.cksize <= static_cast<DWORD>(fileSize) - data.dwDataOffset) {
            std::string bytes(data.cksize, '\0');
            mmioSeek(file, static_cast<LONG>(data.dwDataOffset), SEEK_SET);
            if (mmioRead(file, bytes.data(), static_cast<LONG>(bytes.size())) == static_cast<LONG>(bytes.size())) {
                tag = dataTag(bytes.data(), bytes.size());
            }
        }
    }
    mmioClose(file, 0);
    return tag;
}

void useLoopbackDevice(unsigned sampleRate) { SoundSystem::instance().reset(OutputKind::Loopback, sampleRate); }

void useNoAudioDevice() { SoundSystem::instance().reset(OutputKind::Missing, 0); }

std::vector<float> renderMix(std::size_t frames) { return SoundSystem::instance().renderMix(frames); }

void resetAudio() { SoundSystem::instance().reset(OutputKind::DefaultDevice, 0); }

}  // namespace velmora::audio
