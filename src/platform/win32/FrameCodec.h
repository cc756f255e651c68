// The bytes of one frame's input in a replay file. Keys are stored as the ones that changed
// since the frame before, clock readings and cursor positions as steps from the one before,
// so that a frame of play usually takes five or six bytes.
#pragma once

#include "FrameInput.h"

#include <vector>

namespace velmora::win32 {

class FrameCodec {
public:
    explicit FrameCodec(DWORD clockStart) : time_(clockStart) {}

    void write(const FrameInput& frame, std::vector<unsigned char>& out);
    // False when the bytes from `at` do not hold a whole, well-formed frame.
    bool read(const unsigned char*& at, const unsigned char* end, FrameInput& frame);

private:
    std::bitset<FrameInput::kVirtualKeys> keys_;
    DWORD time_;
    POINT cursor_{0, 0};
};

}  // namespace velmora::win32
