#include "MessageBoxService.h"

#include "Desktop.h"
#include "MessageBoxButtons.h"
#include "Win32Platform.h"
#include "velmora/Language.h"

namespace velmora::win32 {

int MessageBoxService::show(const char* text, const char* caption, UINT type, SDL_Window* parent) {
    if (!text) text = "";
    if (!caption) caption = "Error";  // what Windows shows for a null caption
    MessageBoxButtons layout = MessageBoxButtons::forType(type);

    int answer = 0;
    if (layout.buttons.empty()) {
        answer = 0;  // an unknown type makes the call fail
    } else {
        answer = Win32Platform::instance().replay.answer([&] {
            // The player reads the box in their language; the record keeps the game's words.
            if (answers_.empty()) {
                int asked = 0;
                Win32Platform::instance().clock.holdWhile([&] {
                    asked = desktop().askPlayer(localized(text).c_str(), localized(caption).c_str(), type, layout, parent);
                });
                return asked;
            }
            int queued = answers_.front();
            answers_.pop_front();
            return queued;
        });
    }
    shown_.push_back({text, caption, type, answer});
    return answer;
}

void MessageBoxService::clear() {
    answers_.clear();
    shown_.clear();
}

}  // namespace velmora::win32

using velmora::win32::Win32Platform;

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    Win32Platform& p = Win32Platform::instance();
    const velmora::win32::WindowRecord* owner = p.windows.find(hWnd);
    return p.messageBoxes.show(lpText, lpCaption, uType, owner ? owner->sdl : nullptr);
}
