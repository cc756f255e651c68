#include "SoundSystem.h"

#include <cstdlib>

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

void useAudioOutput(AudioOutput& output) { SoundSystem::instance().useOutput(output); }

bool SoundSystem::openOutput() {
    if (state_ != OutputState::Closed && opened_ != selected_) reset(kind_, loopbackRate_);
    if (state_ == OutputState::Closed) {
        opened_ = selected_;
        state_ = opened_->open(kind_, loopbackRate_) ? OutputState::Open : OutputState::Failed;
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
    auto voice = opened_->startVoice(data, cursor, looping, params);
    if (!voice) {
        reclaimEndedVoices();
        voice = opened_->startVoice(data, cursor, looping, params);
    }
    return voice;
}

void SoundSystem::reclaimEndedVoices() {
    for (SecondaryBuffer* buffer : buffers()) buffer->refresh();
}

void SoundSystem::reset(OutputKind kind, unsigned loopbackRate) {
    for (SecondaryBuffer* buffer : buffers()) buffer->detach();
    if (opened_) opened_->close();
    kind_ = kind;
    loopbackRate_ = loopbackRate;
    state_ = OutputState::Closed;
    playCalls_ = 0;
    nextBufferId_ = 1;
}

}  // namespace velmora::dsound
