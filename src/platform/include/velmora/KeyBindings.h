// The keys the game's walk and thread actions are read from, by physical position (SDL
// scancodes): every layout walks with the fingers that hold W A S D on a US keyboard. The
// thread is the left mouse button and, when bound, a key as well.
#pragma once

#include <array>
#include <string>

namespace velmora {

enum class KeyAction { Forward, Back, Left, Right, Thread };
inline constexpr int kKeyActionCount = 5;

class KeyBindings {
public:
    static constexpr int kUnbound = 0;  // SDL_SCANCODE_UNKNOWN

    int scancode(KeyAction action) const { return scancodes_[static_cast<int>(action)]; }
    // The action another than `except` holding this key, or -1.
    int actionHolding(int scancode, KeyAction except) const;
    void bind(KeyAction action, int scancode) { scancodes_[static_cast<int>(action)] = scancode; }
    // Binds the key; an action that held it gets this action's old key instead of losing it.
    void bindSwapping(KeyAction action, int scancode);

    static int defaultScancode(KeyAction action);
    // "key_forward" ...
    static const char* settingName(KeyAction action);
    // The game's virtual key for the action: 'W', 'S', 'A', 'D' or VK_LBUTTON.
    static int virtualKey(KeyAction action);
    // SDL's scancode name ("W", "Left Shift"), "none" for no key; false for an unknown name.
    static bool parseName(const std::string& name, int& scancode);
    static std::string name(int scancode);

private:
    std::array<int, kKeyActionCount> scancodes_{defaultScancode(KeyAction::Forward), defaultScancode(KeyAction::Back),
                                                defaultScancode(KeyAction::Left), defaultScancode(KeyAction::Right),
                                                defaultScancode(KeyAction::Thread)};
};

}  // namespace velmora
