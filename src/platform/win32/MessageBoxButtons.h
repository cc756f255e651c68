// The buttons MessageBoxA shows for a type (MB_OK, MB_YESNO, ...), left to right, which
// one Return answers (MB_DEFBUTTONn, the first when n is out of range) and what Escape
// or closing the box answers (only boxes with a Cancel button, or a lone OK, allow it).
// The labels are in the player's language.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velmora::win32 {

struct MessageBoxButton {
    int answer;  // IDOK, IDYES, ...
    std::string label;
};

struct MessageBoxButtons {
    std::vector<MessageBoxButton> buttons;  // empty for an unknown type: the call fails
    int defaultIndex = 0;
    int escapeAnswer = 0;  // 0: Escape does nothing

    static MessageBoxButtons forType(UINT type);
    int defaultAnswer() const { return buttons.empty() ? 0 : buttons[defaultIndex].answer; }
};

}  // namespace velmora::win32
