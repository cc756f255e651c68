// Memory for voices: sounds start and stop all through a play, and a starting sound should
// not go to the heap. A fixed set of slots is made once per voice class; a voice takes a
// free one, and the heap only when every slot is taken or the voice is larger than a slot.
// Main thread only, like the rest of the sound system.
#pragma once

#include "AudioOutput.h"

#include <array>
#include <cstddef>
#include <new>

namespace velmora::dsound {

template <std::size_t SlotSize, std::size_t SlotCount>
class VoiceSlots {
public:
    void* take(std::size_t size) {
        if (size > SlotSize) return ::operator new(size);
        if (freedCount_ > 0) return slot(freed_[--freedCount_]);
        if (neverTaken_ < SlotCount) return slot(neverTaken_++);
        return ::operator new(size);
    }

    void give(void* memory) {
        if (!holds(memory)) {
            ::operator delete(memory);
            return;
        }
        freed_[freedCount_++] = std::size_t(static_cast<unsigned char*>(memory) - storage_.data()) / kStride;
    }

    bool holds(const void* memory) const {
        const auto* byte = static_cast<const unsigned char*>(memory);
        return byte >= storage_.data() && byte < storage_.data() + storage_.size();
    }

private:
    static constexpr std::size_t kAlign = alignof(std::max_align_t);
    static constexpr std::size_t kStride = (SlotSize + kAlign - 1) / kAlign * kAlign;

    void* slot(std::size_t i) { return storage_.data() + i * kStride; }

    alignas(kAlign) std::array<unsigned char, kStride * SlotCount> storage_{};
    std::array<std::size_t, SlotCount> freed_{};  // slots given back, the last on top
    std::size_t freedCount_ = 0;
    std::size_t neverTaken_ = 0;  // slots from here on have not been handed out yet
};

// The slots of one voice class: as many as voices can play at once.
template <class VoiceClass>
VoiceSlots<sizeof(VoiceClass), AudioOutput::kMaxVoices>& slotsFor() {
    static VoiceSlots<sizeof(VoiceClass), AudioOutput::kMaxVoices> all;
    return all;
}

}  // namespace velmora::dsound
