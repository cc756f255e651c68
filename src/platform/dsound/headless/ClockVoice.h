// A voice of the headless backend: no output, a cursor that advances with the virtual
// clock at the playback frequency. The clock is read without the side effects that a
// timeGetTime call may have there, so sound queries do not move the game's time.
#pragma once

#include <memory>

#include "PcmData.h"
#include "Voice.h"

namespace velmora::dsound {

class ClockVoice : public Voice {
public:
    // `liveVoices` counts the clock voices that exist.
    ClockVoice(std::shared_ptr<const PcmData> data, DWORD cursor, bool looping, const VoiceParams& params,
               unsigned& liveVoices);
    ~ClockVoice() override;
    // Voices live in fixed slots, so that a starting sound allocates nothing.
    static void* operator new(std::size_t size);
    static void operator delete(void* memory);

    DWORD cursor() override;
    bool ended() override;
    void setLooping(bool looping) override;
    void seek(DWORD cursor) override;
    void apply(const VoiceParams& params) override;

private:
    // Frames played since the start, not wrapped.
    unsigned long long framePosition() const;
    // Restarts the count from the current frame, before a change of rate or looping.
    void rebase();

    std::shared_ptr<const PcmData> data_;
    bool looping_;
    double framesPerMs_;
    DWORD startMs_;
    unsigned long long startFrame_;
    unsigned& liveVoices_;
};

}  // namespace velmora::dsound
