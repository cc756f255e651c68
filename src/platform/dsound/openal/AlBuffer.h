// An OpenAL buffer holding a buffer's PCM data in one layout. Made once per layout and
// revision of the data and kept with it (PcmData::outputCopy), so that a Play, or a play
// of a duplicate, only binds it to a source whatever the sound's length.
#pragma once

#include <memory>

#include "AlOutput.h"
#include "PcmData.h"

namespace velmora::dsound {

class AlBuffer {
public:
    // `centred`: mono data as the stereo copy that centred playback needs, so that both
    // speakers get it at full level as DirectSound plays unpositioned sound. Other data
    // is uploaded as it is.
    static std::shared_ptr<const AlBuffer> of(AlOutput& output, const PcmData& data, bool centred);

    AlBuffer(AlOutput& output, const PcmData& data, bool centred);
    ~AlBuffer();
    AlBuffer(const AlBuffer&) = delete;
    AlBuffer& operator=(const AlBuffer&) = delete;

    ALuint name() const { return name_; }

private:
    AlOutput& output_;
    // The output's opening that made the name: once it has closed, the name went with it.
    unsigned opening_;
    ALuint name_ = 0;
};

}  // namespace velmora::dsound
