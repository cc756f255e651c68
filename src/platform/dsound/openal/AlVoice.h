// A voice of the real backend: an OpenAL source lent by the output, playing the OpenAL
// buffer of the data as it was when the play started.
#pragma once

#include <memory>

#include "AlBuffer.h"
#include "AlOutput.h"
#include "PcmData.h"
#include "Voice.h"

namespace velmora::dsound {

class AlVoice : public Voice {
public:
    AlVoice(AlOutput& output, ALuint source, std::shared_ptr<const PcmData> data, DWORD cursor, bool looping,
            const VoiceParams& params);
    ~AlVoice() override;
    // Voices live in fixed slots, so that a starting sound allocates nothing.
    static void* operator new(std::size_t size);
    static void operator delete(void* memory);

    DWORD cursor() override;
    bool ended() override;
    void setLooping(bool looping) override;
    void seek(DWORD cursor) override;
    void apply(const VoiceParams& params) override;

private:
    // Centred sound goes straight to both speakers at full level, as DirectSound plays
    // unpositioned sound; only mono data placed away from the listener is spatialised.
    bool spatial(const VoiceParams& params) const;
    // Binds the data in the layout the voice needs and starts it at `frame`.
    void start(ALint frame);
    ALint frame();

    AlOutput& output_;
    ALuint source_;
    std::shared_ptr<const AlBuffer> alBuffer_;
    std::shared_ptr<const PcmData> data_;
    VoiceParams params_;
};

}  // namespace velmora::dsound
