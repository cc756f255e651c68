#include "velmora/KeyBindings.h"

#include <SDL.h>

namespace velmora {

namespace {

constexpr int kVirtualLeftButton = 0x01;  // VK_LBUTTON

}  // namespace

int KeyBindings::actionHolding(int scancode, KeyAction except) const {
    if (scancode == kUnbound) return -1;
    for (int i = 0; i < kKeyActionCount; ++i)
        if (i != static_cast<int>(except) && scancodes_[i] == scancode) return i;
    return -1;
}

void KeyBindings::bindSwapping(KeyAction action, int scancode) {
    const int holder = actionHolding(scancode, action);
    if (holder >= 0) scancodes_[holder] = this->scancode(action);
    bind(action, scancode);
}

int KeyBindings::defaultScancode(KeyAction action) {
    switch (action) {
        case KeyAction::Forward: return SDL_SCANCODE_W;
        case KeyAction::Back: return SDL_SCANCODE_S;
        case KeyAction::Left: return SDL_SCANCODE_A;
        case KeyAction::Right: return SDL_SCANCODE_D;
        case KeyAction::Thread: return kUnbound;
    }
    return kUnbound;
}

const char* KeyBindings::settingName(KeyAction action) {
    static const char* const names[kKeyActionCount] = {"key_forward", "key_back", "key_left", "key_right",
                                                       "key_thread"};
    return names[static_cast<int>(action)];
}

int KeyBindings::virtualKey(KeyAction action) {
    static const int keys[kKeyActionCount] = {'W', 'S', 'A', 'D', kVirtualLeftButton};
    return keys[static_cast<int>(action)];
}

bool KeyBindings::parseName(const std::string& name, int& scancode) {
    if (name == "none") {
        scancode = kUnbound;
        return true;
    }
    const SDL_Scancode code = SDL_GetScancodeFromName(name.c_str());
    if (code == SDL_SCANCODE_UNKNOWN) return false;
    scancode = code;
    return true;
}

std::string KeyBindings::name(int scancode) {
    if (scancode == kUnbound) return "none";
    return SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode));
}

}  // namespace velmora
