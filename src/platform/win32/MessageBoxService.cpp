#include "MessageBoxService.h"

#include "MessageBoxButtons.h"
#include "Utf8Locale.h"
#include "velmora/Platform.h"

#include <SDL.h>

#include <cstdio>

namespace velmora::win32 {

namespace {

Uint32 sdlIconFlags(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONERROR: return SDL_MESSAGEBOX_ERROR;
        case MB_ICONWARNING: return SDL_MESSAGEBOX_WARNING;
        default: return SDL_MESSAGEBOX_INFORMATION;
    }
}

// Returns the answer, or 0 when SDL could not show the box.
int showSdlBox(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
               SDL_Window* parent) {
    std::vector<SDL_MessageBoxButtonData> buttons;
    for (size_t i = 0; i < layout.buttons.size(); ++i) {
        Uint32 flags = 0;
        if (static_cast<int>(i) == layout.defaultIndex) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (layout.buttons[i].answer == layout.escapeAnswer) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        buttons.push_back({flags, layout.buttons[i].answer, layout.buttons[i].label});
    }
    SDL_MessageBoxData data{};
    data.flags = sdlIconFlags(type) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    data.window = parent;
    data.title = caption;
    data.message = text;
    data.numbuttons = static_cast<int>(buttons.size());
    data.buttons = buttons.data();

    useUtf8TextLocale();
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) return 0;
    // Closed through the window manager: what Escape would answer, or the default.
    if (pressed < 0) return layout.escapeAnswer ? layout.escapeAnswer : layout.defaultAnswer();
    return pressed;
}

int askPlayer(const char* text, const char* caption, UINT type, const MessageBoxButtons& layout,
              const std::function<bool()>& onScreen, SDL_Window* parent) {
    if (onScreen()) {
        if (int answer = showSdlBox(text, caption, type, layout, parent)) return answer;
    }
    if (!isHeadless()) std::fprintf(stderr, "%s%s%s\n", caption, caption[0] ? ": " : "", text);
    return layout.defaultAnswer();
}

}  // namespace

int MessageBoxService::show(const char* text, const char* caption, UINT type,
                            const std::function<bool()>& onScreen, SDL_Window* parent) {
    if (!text) text = "";
    if (!caption) caption = "Error";  // what Windows shows for a null caption
    MessageBoxButtons layout = MessageBoxButtons::forType(type);

    int answer = 0;
    if (layout.buttons.empty()) {
        answer = 0;  // an unknown type makes the call fail
    } else if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    } else {
        answer = askPlayer(text, caption, type, layout, onScreen, parent);
    }
    shown_.push_back({text, caption, type, answer});
    return answer;
}

void MessageBoxService::clear() {
    answers_.clear();
    shown_.clear();
}

}  // namespace velmora::win32
