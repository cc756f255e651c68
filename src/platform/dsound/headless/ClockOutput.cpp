#include "ClockOutput.h"

#include "ClockVoice.h"

namespace velmora::dsound {

bool ClockOutput::open(OutputKind kind, unsigned) { return kind != OutputKind::Missing; }

std::unique_ptr<Voice> ClockOutput::startVoice(const std::shared_ptr<const PcmData>& data, DWORD cursor,
                                               bool looping, const VoiceParams& params) {
    if (liveVoices_ >= kMaxVoices) return nullptr;
    return std::make_unique<ClockVoice>(data, cursor, looping, params, liveVoices_);
}

}  // namespace velmora::dsound
