// The page's touch controls on an 844 x 390 picture (a phone in landscape): each case plays
// finger events (d down, m move, u up or cancelled) and reads what the game would.
#include "win32/web/TouchControls.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Event { char kind; long long finger; double x = 0, y = 0; };
struct Case { const char* what; std::vector<Event> events; const char* keys; int lookX, lookY; bool pause; };

// The stick reaches 62.4 px, its dead zone 0.2 of that; the thread button is centred at
// (762.9, 308.9), the pause button at (800.1, 43.9). Keys: W A S D, L the left button.
const Case kCases[] = {
    {"the stick, centred where it landed, walks", {{'d', 1, 100, 300}, {'m', 1, 100, 250}}, "W", 0, 0, false},
    {"towards a diagonal it holds both keys", {{'d', 1, 200, 200}, {'m', 1, 160, 160}}, "WA", 0, 0, false},
    {"within the dead zone nothing", {{'d', 1, 200, 200}, {'m', 1, 200, 190}}, "", 0, 0, false},
    {"the right half turns the view", {{'d', 2, 600, 200}, {'m', 2, 650, 190}, {'m', 2, 680, 215}}, "", 80, 15, false},
    {"the thread, held even off its button", {{'d', 3, 764, 309}, {'m', 3, 600, 100}}, "L", 0, 0, false},
    {"the pause button", {{'d', 4, 800, 44}}, "", 0, 0, true},
    {"three fingers at once", {{'d', 1, 200, 200}, {'d', 2, 600, 200}, {'d', 3, 764, 309}, {'m', 1, 200, 260}, {'m', 2, 580, 200}},
     "SL", -20, 0, false},
    {"no second stick", {{'d', 1, 200, 200}, {'d', 5, 300, 200}, {'u', 1}, {'m', 5, 300, 100}}, "", 0, 0, false},
    {"lifted, a finger lets go", {{'d', 1, 200, 200}, {'m', 1, 200, 150}, {'d', 3, 764, 309}, {'u', 1}, {'u', 3}}, "", 0, 0, false},
    {"an unknown finger moves nothing", {{'m', 9, 600, 200}, {'u', 9}}, "", 0, 0, false},
};

TEST(TouchControlsTest, FingersBecomeTheGamesKeysLookAndPause) {
    for (const Case& c : kCases) {
        velmora::win32::TouchControls touch;
        touch.resize(844, 390);
        for (const Event& e : c.events) {
            if (e.kind == 'd') touch.fingerDown(e.finger, e.x, e.y);
            if (e.kind == 'm') touch.fingerMove(e.finger, e.x, e.y);
            if (e.kind == 'u') touch.fingerUp(e.finger);
        }
        std::string held;
        for (int key : {int('W'), int('A'), int('S'), int('D'), VK_LBUTTON})
            if (touch.holdsKey(key, 0.2)) held += key == VK_LBUTTON ? 'L' : char(key);
        int dx = 0, dy = 0;
        touch.takeLook(dx, dy);
        EXPECT_EQ(held + "|" + std::to_string(dx) + "," + std::to_string(dy) + "|" + (touch.pauseAsked() ? "pause" : ""),
                  std::string(c.keys) + "|" + std::to_string(c.lookX) + "," + std::to_string(c.lookY) + "|" + (c.pause ? "pause" : ""))
            << c.what;
    }
}

}  // namespace
