#include "DeviceInput.h"

#include <windows.h>

#include <SDL.h>

namespace velmora::win32 {

namespace {

bool scancodeDown(SDL_Scancode code) {
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    return code > SDL_SCANCODE_UNKNOWN && code < count && state[code];
}

bool keycodeDown(SDL_Keycode key) { return scancodeDown(SDL_GetScancodeFromKey(key)); }

bool mouseButtonDown(int sdlButton) { return (SDL_GetGlobalMouseState(nullptr, nullptr) & SDL_BUTTON(sdlButton)) != 0; }

SDL_Scancode scancodeOf(int virtualKey) {
    switch (virtualKey) {
        case VK_BACK: return SDL_SCANCODE_BACKSPACE;
        case VK_TAB: return SDL_SCANCODE_TAB;
        case VK_RETURN: return SDL_SCANCODE_RETURN;
        case VK_PAUSE: return SDL_SCANCODE_PAUSE;
        case VK_CAPITAL: return SDL_SCANCODE_CAPSLOCK;
        case VK_ESCAPE: return SDL_SCANCODE_ESCAPE;
        case VK_SPACE: return SDL_SCANCODE_SPACE;
        case VK_PRIOR: return SDL_SCANCODE_PAGEUP;
        case VK_NEXT: return SDL_SCANCODE_PAGEDOWN;
        case VK_END: return SDL_SCANCODE_END;
        case VK_HOME: return SDL_SCANCODE_HOME;
        case VK_LEFT: return SDL_SCANCODE_LEFT;
        case VK_UP: return SDL_SCANCODE_UP;
        case VK_RIGHT: return SDL_SCANCODE_RIGHT;
        case VK_DOWN: return SDL_SCANCODE_DOWN;
        case VK_INSERT: return SDL_SCANCODE_INSERT;
        case VK_DELETE: return SDL_SCANCODE_DELETE;
        case VK_LSHIFT: return SDL_SCANCODE_LSHIFT;
        case VK_RSHIFT: return SDL_SCANCODE_RSHIFT;
        case VK_LCONTROL: return SDL_SCANCODE_LCTRL;
        case VK_RCONTROL: return SDL_SCANCODE_RCTRL;
        case VK_LMENU: return SDL_SCANCODE_LALT;
        case VK_RMENU: return SDL_SCANCODE_RALT;
        case VK_NUMPAD0: return SDL_SCANCODE_KP_0;
        default: break;
    }
    if (virtualKey >= VK_NUMPAD1 && virtualKey <= VK_NUMPAD9)
        return static_cast<SDL_Scancode>(SDL_SCANCODE_KP_1 + (virtualKey - VK_NUMPAD1));
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12)
        return static_cast<SDL_Scancode>(SDL_SCANCODE_F1 + (virtualKey - VK_F1));
    return SDL_SCANCODE_UNKNOWN;
}

}  // namespace

bool DeviceInput::keyDown(int virtualKey) {
    SDL_PumpEvents();  // the state of the keys now, not as of the last message poll
    switch (virtualKey) {
        case VK_LBUTTON: return mouseButtonDown(SDL_BUTTON_LEFT);
        case VK_RBUTTON: return mouseButtonDown(SDL_BUTTON_RIGHT);
        case VK_MBUTTON: return mouseButtonDown(SDL_BUTTON_MIDDLE);
        case VK_XBUTTON1: return mouseButtonDown(SDL_BUTTON_X1);
        case VK_XBUTTON2: return mouseButtonDown(SDL_BUTTON_X2);
        case VK_SHIFT: return scancodeDown(SDL_SCANCODE_LSHIFT) || scancodeDown(SDL_SCANCODE_RSHIFT);
        case VK_CONTROL: return scancodeDown(SDL_SCANCODE_LCTRL) || scancodeDown(SDL_SCANCODE_RCTRL);
        case VK_MENU: return scancodeDown(SDL_SCANCODE_LALT) || scancodeDown(SDL_SCANCODE_RALT);
        default: break;
    }
    // Letter and digit keys are named by the character they type in the current layout.
    if (virtualKey >= 'A' && virtualKey <= 'Z') return keycodeDown(SDLK_a + (virtualKey - 'A'));
    if (virtualKey >= '0' && virtualKey <= '9') return keycodeDown(SDLK_0 + (virtualKey - '0'));
    return scancodeDown(scancodeOf(virtualKey));
}

void DeviceInput::takeMotion(int* dx, int* dy) {
    SDL_PumpEvents();
    SDL_GetRelativeMouseState(dx, dy);
}

}  // namespace velmora::win32
