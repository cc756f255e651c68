// The headless output: nothing is heard; playing buffers hold clock voices, whose cursors
// follow the virtual clock. It opens unless told there is no device, like a machine with
// sound would.
#pragma once

#include "AudioOutput.h"

namespace velmora::dsound {

class ClockOutput final : public AudioOutput {
public:
    bool open(OutputKind kind, unsigned loopbackRate) override;
    void close() override {}
    std::unique_ptr<Voice> startVoice(const std::shared_ptr<const PcmData>& data, DWORD cursor, bool looping,
                                      const VoiceParams& params) override;
    void setListenerGain(float) override {}
    std::vector<float> render(std::size_t) override { return {}; }

private:
    unsigned liveVoices_ = 0;
};

}  // namespace velmora::dsound
