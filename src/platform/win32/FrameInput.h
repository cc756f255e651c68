// What the game read from the platform between two frame starts: the keys that read as
// down, and every clock reading, cursor position and message box answer in the order the
// game asked for them.
#pragma once

#include <windows.h>

#include <bitset>
#include <vector>

namespace velmora::win32 {

struct FrameInput {
    static constexpr int kVirtualKeys = 256;
    std::bitset<kVirtualKeys> keysDown;
    std::vector<DWORD> times;
    std::vector<POINT> cursors;
    std::vector<int> answers;

    // Keeps the lists' storage, so that a frame's record costs no allocation.
    void clear() {
        keysDown.reset();
        times.clear();
        cursors.clear();
        answers.clear();
    }
};

}  // namespace velmora::win32
