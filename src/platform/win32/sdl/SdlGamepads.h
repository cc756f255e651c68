// Game controllers through SDL's game-controller API, read as the keys, the button and the
// mouse motion the game already polls: the left stick holds W A S D, the right stick turns
// the view, the right trigger or the south face button holds the left mouse button, and
// Back held for a second holds Escape. Any number of pads, plugged in and out at any time.
#pragma once

#include <SDL.h>

#include <chrono>
#include <vector>

namespace velmora::win32 {

class SdlGamepads {
public:
    // Starts SDL's game-controller subsystem once; the pads present then arrive as
    // device events like those plugged in later.
    void start();
    // Opens a pad that was plugged in, forgets one that was pulled out.
    void handleEvent(const SDL_Event& event);
    // Whether a pad holds what the game reads as this virtual key.
    bool keyDown(int virtualKey);
    // The right stick's view motion since the last call, in pixels of mouse motion, at
    // the set stick speed and dead zone, inverted with the mouse.
    void takeMotion(double& dx, double& dy);

private:
    using Clock = std::chrono::steady_clock;

    struct Pad {
        SDL_GameController* controller;
        SDL_JoystickID id;
        bool backHeld;
        Clock::time_point backSince;
    };

    bool anyPadHolds(SDL_GameControllerButton button) const;
    bool quitHeld();

    bool started_ = false;
    std::vector<Pad> pads_;
    Clock::time_point lastMotion_ = Clock::now();
};

}  // namespace velmora::win32
