#include "SdlGamepads.h"

#include "velmora/Settings.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace velmora::win32 {

namespace {

// A full right stick turns as fast as a brisk mouse: 1800 pixels a second, half a turn
// at the game's tenth of a degree per pixel.
constexpr double kFullStickPixelsPerSecond = 1800.0;
// Longer gaps (a frame stalled, the first motion after the title) must not become a jump.
constexpr double kLongestMotionStep = 0.1;
// A stick pushed within 22.5 degrees of a diagonal holds both keys, otherwise one.
const double kKeyShare = std::sin(22.5 * 3.14159265358979 / 180.0);
constexpr Sint16 kTriggerHeld = 16384;
constexpr auto kQuitHold = std::chrono::seconds(1);

struct Stick {
    double x;
    double y;
    double length() const { return std::sqrt(x * x + y * y); }
};

double axisValue(SDL_GameController* controller, SDL_GameControllerAxis axis) {
    return std::max(-1.0, SDL_GameControllerGetAxis(controller, axis) / 32767.0);
}

Stick stickOf(SDL_GameController* controller, SDL_GameControllerAxis xAxis, SDL_GameControllerAxis yAxis) {
    return {axisValue(controller, xAxis), axisValue(controller, yAxis)};
}

// The share of full speed past the dead zone, squared so that small pushes aim finely.
double response(double length, double deadZone) {
    if (length <= deadZone) return 0.0;
    double past = (std::min(length, 1.0) - deadZone) / (1.0 - deadZone);
    return past * past;
}

bool walkKeyHeld(const Stick& stick, int virtualKey) {
    double length = stick.length();
    if (length <= settings().stickDeadZone) return false;
    switch (virtualKey) {
        case 'W': return -stick.y / length > kKeyShare;
        case 'S': return stick.y / length > kKeyShare;
        case 'A': return -stick.x / length > kKeyShare;
        case 'D': return stick.x / length > kKeyShare;
        default: return false;
    }
}

}  // namespace

void SdlGamepads::start() {
    if (started_) return;
    started_ = true;
    // The game applies its own focus rule to pads, as to keys; SDL must not hold back
    // their state while another window is in front.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "velmora: no game controllers: %s\n", SDL_GetError());
}

void SdlGamepads::handleEvent(const SDL_Event& event) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(event.cdevice.which);
        for (const Pad& pad : pads_)
            if (pad.id == id) return;
        if (SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which))
            pads_.push_back({controller, id, false, {}});
    } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        for (auto pad = pads_.begin(); pad != pads_.end(); ++pad) {
            if (pad->id != event.cdevice.which) continue;
            SDL_GameControllerClose(pad->controller);
            pads_.erase(pad);
            return;
        }
    }
}

bool SdlGamepads::anyPadHolds(SDL_GameControllerButton button) const {
    for (const Pad& pad : pads_)
        if (SDL_GameControllerGetButton(pad.controller, button)) return true;
    return false;
}

// Back only quits once held for a second, so that a stray press never ends a play.
bool SdlGamepads::quitHeld() {
    const Clock::time_point now = Clock::now();
    bool held = false;
    for (Pad& pad : pads_) {
        bool down = SDL_GameControllerGetButton(pad.controller, SDL_CONTROLLER_BUTTON_BACK);
        if (down && !pad.backHeld) pad.backSince = now;
        pad.backHeld = down;
        held = held || (down && now - pad.backSince >= kQuitHold);
    }
    return held;
}

bool SdlGamepads::keyDown(int virtualKey) {
    switch (virtualKey) {
        case VK_LBUTTON:
            for (const Pad& pad : pads_)
                if (SDL_GameControllerGetAxis(pad.controller, SDL_CONTROLLER_AXIS_TRIGGERRIGHT) >= kTriggerHeld)
                    return true;
            return anyPadHolds(SDL_CONTROLLER_BUTTON_A);
        case VK_ESCAPE:
            return quitHeld();
        case 'W':
        case 'A':
        case 'S':
        case 'D':
            for (const Pad& pad : pads_)
                if (walkKeyHeld(stickOf(pad.controller, SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY),
                                virtualKey))
                    return true;
            return false;
        default:
            return false;
    }
}

void SdlGamepads::takeMotion(double& dx, double& dy) {
    const Clock::time_point now = Clock::now();
    double seconds = std::min(std::chrono::duration<double>(now - lastMotion_).count(), kLongestMotionStep);
    lastMotion_ = now;
    const Settings& tuning = settings();
    for (const Pad& pad : pads_) {
        Stick stick = stickOf(pad.controller, SDL_CONTROLLER_AXIS_RIGHTX, SDL_CONTROLLER_AXIS_RIGHTY);
        double length = stick.length();
        double speed = response(length, tuning.stickDeadZone);
        if (speed == 0.0) continue;
        double pixels = speed * kFullStickPixelsPerSecond * tuning.stickSpeed * seconds / length;
        dx += stick.x * pixels;
        dy += stick.y * pixels;
    }
}

}  // namespace velmora::win32
