#include "SoundSystem.h"

#include <cstdlib>

#include "AlVoice.h"
#include "ClockVoice.h"
#include "SecondaryBuffer.h"

namespace velmora::dsound {

namespace {
void closeOutputAtExit() { SoundSystem::instance().reset(OutputKind::DefaultDevice, 0); }
}  // namespace

// Never destroyed: buffers that outlive main (held by static objects) may still be
// released after the output has been closed at exit.
SoundSystem& SoundSystem::instance() {
    static SoundSystem* system = new SoundSystem;
    return *system;
}

bool SoundSystem::openOutput() {
    if (state_ != OutputState::Closed && openedFor_ != backend()) reset(kind_, loopbackRate_);
    if (state_ == OutputState::Closed) {
        bool opened = isHeadless() ? kind_ != OutputKind::Missing : al_.open(kind_, loopbackRate_);
        state_ = opened ? OutputState::Open : OutputState::Failed;
        openedFor_ = backend();
        if (!closesAtExit_) closesAtExit_ = std::atexit(closeOutputAtExit) == 0;
    }
    return state_ == OutputState::Open;
}

unsigned SoundSystem::addBuffer(SecondaryBuffer* buffer) {
    unsigned id = nextBufferId_++;
    buffers_.emplace(id, buffer);
    return id;
}

void SoundSystem::removeBuffer(unsigned id) { buffers_.erase(id); }

std::vector<SecondaryBuffer*> SoundSystem::buffers() const {
    std::vector<SecondaryBuffer*> list;
    list.reserve(buffers_.size());
    for (const auto& entry : buffers_) list.push_back(entry.second);
    return list;
}

std::unique_ptr<Voice> SoundSystem::startVoice(std::shared_ptr<const PcmData> data, DWORD cursor, bool looping,
                                               const VoiceParams& params) {
    auto voice = tryStartVoice(data, cursor, looping, params);
    if (!voice) {
        reclaimEndedVoices();
        voice = tryStartVoice(data, cursor, looping, params);
    }
    return voice;
}

std::unique_ptr<Voice> SoundSystem::tryStartVoice(const std::shared_ptr<const PcmData>& data, DWORD cursor,
                                                  bool looping, const VoiceParams& params) {
    if (isHeadless()) {
        if (clockVoices_ >= AlOutput::kMaxSources) return nullptr;
        return std::make_unique<ClockVoice>(data, cursor, looping, params, clockVoices_);
    }
    ALuint source = 0;
    if (!al_.acquireSource(source)) return nullptr;
    return std::make_unique<AlVoice>(al_, source, data, cursor, looping, params);
}

void SoundSystem::reclaimEndedVoices() {
    for (SecondaryBuffer* buffer : buffers()) buffer->refresh();
}

void SoundSystem::reset(OutputKind kind, unsigned loopbackRate) {
    for (SecondaryBuffer* buffer : buffers()) buffer->detach();
    al_.close();
    kind_ = kind;
    loopbackRate_ = loopbackRate;
    state_ = OutputState::Closed;
    playCalls_ = 0;
    nextBufferId_ = 1;
}

}  // namespace velmora::dsound
