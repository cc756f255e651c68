#include "AlVoice.h"

#include "VoiceSlots.h"

namespace velmora::dsound {

AlVoice::AlVoice(AlOutput& output, ALuint source, std::shared_ptr<const PcmData> data, DWORD cursor, bool looping,
                 const VoiceParams& params)
    : output_(output), source_(source), data_(std::move(data)), params_(params) {
    alSourcei(source_, AL_LOOPING, looping ? AL_TRUE : AL_FALSE);
    start(static_cast<ALint>(cursor / data_->format().nBlockAlign));
}

AlVoice::~AlVoice() {
    alSourceStop(source_);
    // Before the buffer's last holder deletes it: a buffer still queued cannot be.
    alSourcei(source_, AL_BUFFER, 0);
    output_.releaseSource(source_);
}

void* AlVoice::operator new(std::size_t size) { return slotsFor<AlVoice>().take(size); }

void AlVoice::operator delete(void* memory) { slotsFor<AlVoice>().give(memory); }

bool AlVoice::spatial(const VoiceParams& params) const {
    return params.positioned && data_->format().nChannels == 1;
}

void AlVoice::start(ALint frame) {
    alSourceStop(source_);
    // Detached first: when the data was rewritten, the buffer held until now may be the
    // last of its kind, and a buffer still queued on a source cannot be deleted.
    alSourcei(source_, AL_BUFFER, 0);
    bool isSpatial = spatial(params_);
    alBuffer_ = AlBuffer::of(output_, *data_, !isSpatial);
    alSourcei(source_, AL_BUFFER, static_cast<ALint>(alBuffer_->name()));
#ifndef __EMSCRIPTEN__  // the browser's OpenAL plays a relative source at the listener as it is
    alSourcei(source_, AL_DIRECT_CHANNELS_SOFT, isSpatial ? AL_FALSE : AL_TRUE);
#endif
    alSourcei(source_, AL_SOURCE_RELATIVE, isSpatial ? AL_FALSE : AL_TRUE);
    if (isSpatial) {
        alSource3f(source_, AL_POSITION, params_.x, params_.y, params_.z);
    } else {
        alSource3f(source_, AL_POSITION, 0.0f, 0.0f, 0.0f);
    }
    alSourcef(source_, AL_GAIN, params_.gain);
    alSourcef(source_, AL_PITCH, params_.pitch);
    alSourcei(source_, AL_SAMPLE_OFFSET, frame);
    alSourcePlay(source_);
}

ALint AlVoice::frame() {
    ALint frame = 0;
    alGetSourcei(source_, AL_SAMPLE_OFFSET, &frame);
    return frame;
}

DWORD AlVoice::cursor() {
    if (ended()) return 0;
    return static_cast<DWORD>(frame()) * data_->format().nBlockAlign;
}

bool AlVoice::ended() {
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    return state == AL_STOPPED;
}

void AlVoice::setLooping(bool looping) { alSourcei(source_, AL_LOOPING, looping ? AL_TRUE : AL_FALSE); }

void AlVoice::seek(DWORD cursor) {
    alSourcei(source_, AL_SAMPLE_OFFSET, static_cast<ALint>(cursor / data_->format().nBlockAlign));
}

void AlVoice::apply(const VoiceParams& params) {
    bool layoutChanges = spatial(params) != spatial(params_);
    params_ = params;
    if (layoutChanges) {
        start(frame());
        return;
    }
    alSourcef(source_, AL_GAIN, params_.gain);
    alSourcef(source_, AL_PITCH, params_.pitch);
    if (spatial(params_)) alSource3f(source_, AL_POSITION, params_.x, params_.y, params_.z);
}

}  // namespace velmora::dsound
