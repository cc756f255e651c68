#include "TouchControls.h"

#include "velmora/KeyBindings.h"

#include <algorithm>
#include <cmath>

namespace velmora::win32 {

namespace {

// As a pad's stick: pushed within 22.5 degrees of a diagonal it holds both keys.
const double kKeyShare = std::sin(22.5 * 3.14159265358979 / 180.0);

}  // namespace

bool TouchControls::Circle::contains(double px, double py) const {
    return (px - x) * (px - x) + (py - y) * (py - y) <= radius * radius;
}

void TouchControls::resize(double width, double height) {
    width_ = std::max(width, 1.0);
    height_ = std::max(height, 1.0);
}

// Thumb-sized on a phone's picture, placed clear of the corners' rounding.
TouchControls::Circle TouchControls::threadButton() const {
    const double radius = height_ * 0.13;
    return {width_ - radius * 1.6, height_ - radius * 1.6, radius};
}

TouchControls::Circle TouchControls::pauseButton() const {
    const double radius = height_ * 0.075;
    return {width_ - radius * 1.5, radius * 1.5, radius};
}

void TouchControls::fingerDown(long long finger, double x, double y) {
    if (find(finger)) return;
    if (pauseButton().contains(x, y)) {
        pauseAsked_ = true;
        return;
    }
    const Role role = threadButton().contains(x, y) ? Role::Thread : x < width_ / 2 ? Role::Stick : Role::Look;
    // One stick: a second finger on the left half is not a second walk.
    if (role == Role::Stick && fingerWith(Role::Stick)) return;
    fingers_.push_back({finger, role, x, y, x, y});
}

void TouchControls::fingerMove(long long finger, double x, double y) {
    Finger* moved = find(finger);
    if (!moved) return;
    if (moved->role == Role::Look) {
        lookX_ += x - moved->x;
        lookY_ += y - moved->y;
    }
    moved->x = x;
    moved->y = y;
}

void TouchControls::fingerUp(long long finger) {
    fingers_.erase(std::remove_if(fingers_.begin(), fingers_.end(), [&](const Finger& f) { return f.id == finger; }),
                   fingers_.end());
}

void TouchControls::releaseAll() {
    fingers_.clear();
    lookX_ = lookY_ = 0.0;
    pauseAsked_ = false;
}

bool TouchControls::holdsKey(int virtualKey, double deadZone) const {
    if (virtualKey == KeyBindings::virtualKey(KeyAction::Thread)) return threadHeld();
    const Finger* stick = fingerWith(Role::Stick);
    if (!stick) return false;
    const double x = (stick->x - stick->startX) / stickReach(), y = (stick->y - stick->startY) / stickReach();
    const double length = std::sqrt(x * x + y * y);
    if (length <= deadZone) return false;
    if (virtualKey == KeyBindings::virtualKey(KeyAction::Forward)) return -y / length > kKeyShare;
    if (virtualKey == KeyBindings::virtualKey(KeyAction::Back)) return y / length > kKeyShare;
    if (virtualKey == KeyBindings::virtualKey(KeyAction::Left)) return -x / length > kKeyShare;
    if (virtualKey == KeyBindings::virtualKey(KeyAction::Right)) return x / length > kKeyShare;
    return false;
}

void TouchControls::takeLook(int& dx, int& dy) {
    dx = static_cast<int>(lookX_);
    dy = static_cast<int>(lookY_);
    lookX_ -= dx;
    lookY_ -= dy;
}

bool TouchControls::stickHeld() const { return fingerWith(Role::Stick) != nullptr; }

bool TouchControls::threadHeld() const { return fingerWith(Role::Thread) != nullptr; }

TouchControls::Circle TouchControls::stickRing() const {
    const Finger* stick = fingerWith(Role::Stick);
    return stick ? Circle{stick->startX, stick->startY, stickReach()} : Circle{0, 0, 0};
}

// The knob stays on the ring when the finger goes past it.
TouchControls::Circle TouchControls::stickKnob() const {
    const Finger* stick = fingerWith(Role::Stick);
    if (!stick) return {0, 0, 0};
    double x = stick->x - stick->startX, y = stick->y - stick->startY;
    const double length = std::sqrt(x * x + y * y);
    if (length > stickReach()) {
        x *= stickReach() / length;
        y *= stickReach() / length;
    }
    return {stick->startX + x, stick->startY + y, stickReach() * 0.4};
}

const TouchControls::Finger* TouchControls::fingerWith(Role role) const {
    for (const Finger& finger : fingers_)
        if (finger.role == role) return &finger;
    return nullptr;
}

TouchControls::Finger* TouchControls::find(long long finger) {
    for (Finger& f : fingers_)
        if (f.id == finger) return &f;
    return nullptr;
}

}  // namespace velmora::win32
