#include "ClockVoice.h"

#include "VoiceSlots.h"
#include "velmora/HeadlessInput.h"

namespace velmora::dsound {

namespace {

double framesPerMs(const PcmData& data, const VoiceParams& params) {
    return data.format().nSamplesPerSec * static_cast<double>(params.pitch) / 1000.0;
}
}  // namespace

ClockVoice::ClockVoice(std::shared_ptr<const PcmData> data, DWORD cursor, bool looping, const VoiceParams& params,
                       unsigned& liveVoices)
    : data_(std::move(data)),
      looping_(looping),
      framesPerMs_(framesPerMs(*data_, params)),
      startMs_(headless::clockMs()),
      startFrame_(cursor / data_->format().nBlockAlign),
      liveVoices_(liveVoices) {
    ++liveVoices_;
}

ClockVoice::~ClockVoice() { --liveVoices_; }

void* ClockVoice::operator new(std::size_t size) { return slotsFor<ClockVoice>().take(size); }

void ClockVoice::operator delete(void* memory) { slotsFor<ClockVoice>().give(memory); }

unsigned long long ClockVoice::framePosition() const {
    DWORD elapsed = headless::clockMs() - startMs_;  // unsigned difference survives the wrap
    return startFrame_ + static_cast<unsigned long long>(elapsed * framesPerMs_);
}

DWORD ClockVoice::cursor() {
    unsigned long long frame = framePosition();
    if (looping_) {
        frame %= data_->frames();
    } else if (frame >= data_->frames()) {
        frame = 0;
    }
    return static_cast<DWORD>(frame * data_->format().nBlockAlign);
}

bool ClockVoice::ended() { return !looping_ && framePosition() >= data_->frames(); }

void ClockVoice::rebase() {
    startFrame_ = cursor() / data_->format().nBlockAlign;
    startMs_ = headless::clockMs();
}

void ClockVoice::setLooping(bool looping) {
    rebase();
    looping_ = looping;
}

void ClockVoice::seek(DWORD cursor) {
    startFrame_ = cursor / data_->format().nBlockAlign;
    startMs_ = headless::clockMs();
}

void ClockVoice::apply(const VoiceParams& params) {
    rebase();
    framesPerMs_ = framesPerMs(*data_, params);
}

}  // namespace velmora::dsound
