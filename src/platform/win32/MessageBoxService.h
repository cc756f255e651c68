// MessageBoxA: a replay's answers first, then scripted answers (tests), else the desktop
// asks the player (see Desktop::askPlayer) in their language. Every call is recorded as the
// game made it.
#pragma once

#include "velmora/HeadlessInput.h"

#include <windows.h>

#include <deque>
#include <vector>

struct SDL_Window;

namespace velmora::win32 {

class MessageBoxService {
public:
    // parent: the owner's SDL window or null.
    int show(const char* text, const char* caption, UINT type, SDL_Window* parent);

    void queueAnswer(int answer) { answers_.push_back(answer); }
    const std::vector<headless::MessageBoxShown>& shown() const { return shown_; }
    void clear();

private:
    std::deque<int> answers_;
    std::vector<headless::MessageBoxShown> shown_;
};

}  // namespace velmora::win32
