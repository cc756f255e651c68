// MessageBoxA: scripted answers first (tests), else a real SDL box when there is a
// display, else the text on standard error and the default button as the answer.
// The headless backend never shows a box. Every call is recorded.
#pragma once

#include "velmora/HeadlessInput.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <vector>

struct SDL_Window;

namespace velmora::win32 {

class MessageBoxService {
public:
    // onScreen: whether a real box can be shown, asked only when no answer is scripted;
    // parent: the owner's SDL window or null.
    int show(const char* text, const char* caption, UINT type, const std::function<bool()>& onScreen,
             SDL_Window* parent);

    void queueAnswer(int answer) { answers_.push_back(answer); }
    const std::vector<headless::MessageBoxShown>& shown() const { return shown_; }
    void clear();

private:
    std::deque<int> answers_;
    std::vector<headless::MessageBoxShown> shown_;
};

}  // namespace velmora::win32
