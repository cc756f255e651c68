// The per-frame hook of test scripts: the game's loop starts a frame whenever its
// message poll finds the queue empty, and the hook runs right then.
#pragma once

#include <functional>

namespace velmora::win32 {

class FrameScript {
public:
    void setHook(std::function<void(int frame)> hook) { hook_ = std::move(hook); }

    void frameStarting() {
        int frame = started_++;
        if (hook_) {
            auto hook = hook_;  // the hook may replace itself
            hook(frame);
        }
    }
    int framesStarted() const { return started_; }

private:
    std::function<void(int frame)> hook_;
    int started_ = 0;
};

}  // namespace velmora::win32
