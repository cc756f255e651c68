// The page's touch controls on an 844 x 390 picture (a phone in landscape): each case plays
// finger events and reads what the game would: the walk keys, the look, the thread, the pause.
#include "win32/web/TouchControls.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using velmora::win32::TouchControls;

struct Event {
    char kind;  // d down, m move, u up (or cancelled)
    long long finger;
    double x, y;
};

struct Case {
    const char* what;
    std::vector<Event> events;
    std::string keys;  // the keys held, of "WASDL" (L: the left mouse button)
    int lookX, lookY;
    bool pause;
};

// The stick reaches 62.4 px; the dead zone is 0.2 of it. The thread button's centre is
// (762.9, 308.9), the pause button's (800.1, 43.9).
const Case kCases[] = {
    {"a finger on the left half, pushed up, walks forward", {{'d', 1, 200, 200}, {'m', 1, 200, 150}}, "W", 0, 0, false},
    {"the stick is centred where the finger landed", {{'d', 1, 100, 300}, {'m', 1, 140, 300}}, "D", 0, 0, false},
    {"pushed towards a diagonal, it holds both keys", {{'d', 1, 200, 200}, {'m', 1, 160, 160}}, "WA", 0, 0, false},
    {"within the dead zone it holds nothing", {{'d', 1, 200, 200}, {'m', 1, 200, 190}}, "", 0, 0, false},
    {"a finger on the right half turns the view", {{'d', 2, 600, 200}, {'m', 2, 650, 190}, {'m', 2, 680, 215}}, "", 80, 15,
     false},
    {"the thread button is the left button while held", {{'d', 3, 764, 309}}, "L", 0, 0, false},
    {"lifted, the thread is released", {{'d', 3, 764, 309}, {'u', 3, 0, 0}}, "", 0, 0, false},
    {"the thread finger may slide off its button", {{'d', 3, 764, 309}, {'m', 3, 600, 100}}, "L", 0, 0, false},
    {"the pause button asks for the menu", {{'d', 4, 800, 44}}, "", 0, 0, true},
    {"three fingers walk, turn and aim at once",
     {{'d', 1, 200, 200}, {'d', 2, 600, 200}, {'d', 3, 764, 309}, {'m', 1, 200, 260}, {'m', 2, 580, 200}},
     "SL", -20, 0, false},
    {"a second finger on the left half is no second stick", {{'d', 1, 200, 200}, {'d', 5, 300, 200}, {'m', 5, 300, 100}},
     "", 0, 0, false},
    {"a cancelled stick finger lets go of the walk", {{'d', 1, 200, 200}, {'m', 1, 200, 150}, {'u', 1, 0, 0}}, "", 0, 0,
     false},
    {"a finger that is not known moves nothing", {{'m', 9, 600, 200}, {'u', 9, 0, 0}}, "", 0, 0, false},
};

TEST(TouchControlsTest, FingersBecomeTheGamesKeysLookAndPause) {
    const std::pair<char, int> keys[] = {{'W', 'W'}, {'A', 'A'}, {'S', 'S'}, {'D', 'D'}, {'L', VK_LBUTTON}};
    for (const Case& c : kCases) {
        TouchControls touch;
        touch.resize(844, 390);
        for (const Event& e : c.events) {
            if (e.kind == 'd') touch.fingerDown(e.finger, e.x, e.y);
            if (e.kind == 'm') touch.fingerMove(e.finger, e.x, e.y);
            if (e.kind == 'u') touch.fingerUp(e.finger);
        }
        std::string held;
        for (const auto& [name, key] : keys)
            if (touch.holdsKey(key, 0.2)) held += name;
        int dx = 0, dy = 0;
        touch.takeLook(dx, dy);
        EXPECT_EQ(held, c.keys) << c.what;
        EXPECT_EQ(dx, c.lookX) << c.what;
        EXPECT_EQ(dy, c.lookY) << c.what;
        EXPECT_EQ(touch.pauseAsked(), c.pause) << c.what;
        touch.releaseAll();
        EXPECT_FALSE(touch.holdsKey(VK_LBUTTON, 0.2) || touch.pauseAsked()) << c.what << ": all let go";
    }
}

}  // namespace
