// The touch controls over the picture, apart from any device or drawing: a finger that
// lands on the left half is a stick centred where it landed and holds the walk keys as a
// pad's left stick does; one that lands on the right half turns the view as the mouse does;
// the thread button at the lower right is the left mouse button while a finger holds it;
// the pause button at the top right asks for the pause menu. Fingers are told apart by
// their identifiers; positions are in CSS pixels of the picture, from its top left.
#pragma once

#include <vector>

namespace velmora::win32 {

class TouchControls {
public:
    struct Circle {
        double x;
        double y;
        double radius;
        bool contains(double px, double py) const;
    };

    // The picture's size, which places the buttons and sizes the stick.
    void resize(double width, double height);
    void fingerDown(long long finger, double x, double y);
    void fingerMove(long long finger, double x, double y);
    // A finger lifted or cancelled by the browser lets go of what it held.
    void fingerUp(long long finger);
    void releaseAll();

    // The walk keys (by the virtual keys the game reads) past the dead zone, and the left
    // mouse button while the thread button is held.
    bool holdsKey(int virtualKey, double deadZone) const;
    // The view's turn since the last call, in whole pixels of mouse motion.
    void takeLook(int& dx, int& dy);
    bool pauseAsked() const { return pauseAsked_; }

    Circle threadButton() const;
    Circle pauseButton() const;
    // The ring where the stick's finger landed, and its knob under the finger.
    bool stickHeld() const;
    Circle stickRing() const;
    Circle stickKnob() const;
    bool threadHeld() const;

private:
    enum class Role { Stick, Look, Thread };
    struct Finger {
        long long id;
        Role role;
        double startX, startY;
        double x, y;
    };

    const Finger* fingerWith(Role role) const;
    Finger* find(long long finger);
    double stickReach() const { return height_ * 0.16; }

    double width_ = 1.0;
    double height_ = 1.0;
    std::vector<Finger> fingers_;
    double lookX_ = 0.0;
    double lookY_ = 0.0;
    bool pauseAsked_ = false;
};

}  // namespace velmora::win32
