// Pads through the real backend: SDL virtual game controllers on offscreen video, read back
// through GetAsyncKeyState and GetCursorPos as the game reads them.
#include "Win32TestSupport.h"

#include "velmora/Settings.h"
#include "win32/WindowSystem.h"

#include <SDL.h>

#include <chrono>
#include <thread>

using namespace win32test;

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr Sint16 kFull = 32767;

bool downNow(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

// Lets the backend see device events (pads plugged in or pulled out).
void pumpMessages() {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// A game controller plugged in for the life of the object.
class VirtualPad {
public:
    VirtualPad() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        int index = SDL_JoystickAttachVirtualEx(&desc);
        id_ = SDL_JoystickGetDeviceInstanceID(index);
        joystick_ = SDL_JoystickOpen(index);
        trigger(SDL_CONTROLLER_AXIS_TRIGGERLEFT, 0.0);
        trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0.0);
        pumpMessages();
    }
    ~VirtualPad() { unplug(); }

    void unplug() {
        if (!joystick_) return;
        for (int index = 0; index < SDL_NumJoysticks(); ++index)
            if (SDL_JoystickGetDeviceInstanceID(index) == id_) SDL_JoystickDetachVirtual(index);
        SDL_JoystickClose(joystick_);
        joystick_ = nullptr;
        pumpMessages();
    }

    void axis(SDL_GameControllerAxis which, double share) {
        SDL_JoystickSetVirtualAxis(joystick_, which, static_cast<Sint16>(share * kFull));
    }
    // A virtual trigger's raw axis spans the whole range from released to fully pulled.
    void trigger(SDL_GameControllerAxis which, double share) {
        SDL_JoystickSetVirtualAxis(joystick_, which, static_cast<Sint16>(share * 65535.0 - 32768.0));
    }
    void button(SDL_GameControllerButton which, bool down) { SDL_JoystickSetVirtualButton(joystick_, which, down); }

private:
    SDL_Joystick* joystick_ = nullptr;
    SDL_JoystickID id_ = -1;
};

// Offscreen video with one game window; the settings are restored afterwards.
class GamepadTest : public RealBackendTest {
protected:
    void SetUp() override {
        RealBackendTest::SetUp();
        velmora::allowOffscreenVideo(true);
        ASSERT_TRUE(velmora::win32::videoAvailable());
        registerGameClass();
        window = createGameWindow();
        ShowWindow(window, SW_SHOW);
    }
    void TearDown() override {
        velmora::settings() = saved;
        RealBackendTest::TearDown();
    }

    // The cursor's motion since the last call, as the game's camera reads it.
    POINT takeMotion() {
        POINT now{};
        GetCursorPos(&now);
        SetCursorPos(640, 360);
        return {now.x - 640, now.y - 360};
    }

    ScopedEnv driver{"SDL_VIDEODRIVER", std::string("offscreen")};
    velmora::Settings saved = velmora::settings();
    HWND window = nullptr;
};

}  // namespace

TEST_F(GamepadTest, LeftStickHoldsTheWalkKeysOutsideTheDeadZone) {
    VirtualPad pad;
    auto held = [] { return std::string(downNow('W') ? "W" : "") + (downNow('A') ? "A" : "") +
                            (downNow('S') ? "S" : "") + (downNow('D') ? "D" : ""); };
    EXPECT_EQ(held(), "");
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -0.15);
    EXPECT_EQ(held(), "") << "inside the dead zone";
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -0.3);
    EXPECT_EQ(held(), "W");
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0.3);
    EXPECT_EQ(held(), "WD") << "a diagonal holds both";
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0.05);
    EXPECT_EQ(held(), "D") << "a little off straight holds one";
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -1.0);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 1.0);
    EXPECT_EQ(held(), "AS");

    velmora::settings().stickDeadZone = 0.5;
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0.0);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0.45);
    EXPECT_EQ(held(), "") << "the set dead zone";
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0.55);
    EXPECT_EQ(held(), "S");
}

TEST_F(GamepadTest, RightStickTurnsTheViewAtTheSetSpeed) {
    VirtualPad pad;
    // Full right at speed s turns 1800 s pixels a second, for however long the backend's
    // two reads are apart; the test brackets that time from outside.
    auto motionOver = [&](std::chrono::milliseconds wait) {
        takeMotion();
        SteadyClock::time_point afterFirst = SteadyClock::now();
        std::this_thread::sleep_for(wait);
        SteadyClock::time_point beforeSecond = SteadyClock::now();
        POINT moved = takeMotion();
        double shortest = std::chrono::duration<double>(beforeSecond - afterFirst).count();
        double longest = std::chrono::duration<double>(SteadyClock::now() - afterFirst).count() + 0.002;
        return std::make_tuple(moved, shortest, longest);
    };

    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 0.1);
    EXPECT_EQ(std::get<0>(motionOver(std::chrono::milliseconds(30))).x, 0) << "inside the dead zone";

    for (double speed : {1.0, 2.5}) {
        SCOPED_TRACE(speed);
        velmora::settings().stickSpeed = speed;
        pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 1.0);
        pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, 0.0);
        auto [moved, shortest, longest] = motionOver(std::chrono::milliseconds(40));
        EXPECT_GE(moved.x, static_cast<int>(1800 * speed * shortest) - 1);
        EXPECT_LE(moved.x, static_cast<int>(1800 * speed * longest) + 1);
        EXPECT_EQ(moved.y, 0);
    }

    // Half a push past the dead zone turns at a quarter of full speed: fine aiming.
    velmora::settings().stickSpeed = 1.0;
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 0.0);
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, -0.6);
    auto [up, shortest, longest] = motionOver(std::chrono::milliseconds(40));
    EXPECT_EQ(up.x, 0);
    EXPECT_LE(up.y, -static_cast<int>(450 * shortest) + 1) << "stick up looks up, as the mouse moved up";
    EXPECT_GE(up.y, -static_cast<int>(450 * longest) - 1);

    velmora::settings().invertY = true;
    EXPECT_GT(std::get<0>(motionOver(std::chrono::milliseconds(20))).y, 0) << "inverted with the mouse";
}

TEST_F(GamepadTest, TriggerOrSouthButtonHoldsTheThreadButton) {
    VirtualPad pad;
    EXPECT_FALSE(downNow(VK_LBUTTON));
    pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0.3);
    EXPECT_FALSE(downNow(VK_LBUTTON)) << "a trigger barely touched";
    pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0.8);
    EXPECT_TRUE(downNow(VK_LBUTTON));
    pad.trigger(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 0.0);
    EXPECT_FALSE(downNow(VK_LBUTTON)) << "released: the shot";

    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(downNow(VK_LBUTTON));
    EXPECT_FALSE(downNow(VK_RBUTTON));
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_FALSE(downNow(VK_LBUTTON));
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_FALSE(downNow(VK_LBUTTON)) << "only the south button";
}

TEST_F(GamepadTest, PadsComeAndGoInAnyOrderDuringPlay) {
    VirtualPad first;
    first.axis(SDL_CONTROLLER_AXIS_LEFTY, -1.0);
    EXPECT_TRUE(downNow('W'));

    VirtualPad second;
    second.button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(downNow(VK_LBUTTON)) << "a second pad plugged in mid-play";
    EXPECT_TRUE(downNow('W')) << "the first one still walks";

    first.unplug();
    EXPECT_FALSE(downNow('W')) << "a pulled pad holds nothing";
    EXPECT_TRUE(downNow(VK_LBUTTON));

    VirtualPad third;
    third.axis(SDL_CONTROLLER_AXIS_LEFTX, 1.0);
    EXPECT_TRUE(downNow('D'));
    second.unplug();
    EXPECT_FALSE(downNow(VK_LBUTTON));
    EXPECT_TRUE(downNow('D'));
    third.unplug();
    EXPECT_FALSE(downNow('D'));
}

TEST_F(GamepadTest, QuittingNeedsBackHeldForASecond) {
    // Polls Escape as the game does, every frame, for the given time: was it ever down?
    auto escapeWithin = [](std::chrono::milliseconds time) {
        bool seen = false;
        for (SteadyClock::time_point end = SteadyClock::now() + time; SteadyClock::now() < end;) {
            seen = seen || downNow(VK_ESCAPE);
            std::this_thread::sleep_for(std::chrono::milliseconds(16));
        }
        return seen;
    };
    velmora::settings().escape = velmora::EscapeChoice::Quit;  // with the menu, only its Quit is Escape
    VirtualPad pad;
    pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_FALSE(escapeWithin(std::chrono::milliseconds(600)));
    pad.button(SDL_CONTROLLER_BUTTON_BACK, false);
    EXPECT_FALSE(escapeWithin(std::chrono::milliseconds(100))) << "a press let go early";
    pad.button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_FALSE(escapeWithin(std::chrono::milliseconds(900))) << "the hold starts again at each press";
    EXPECT_TRUE(escapeWithin(std::chrono::milliseconds(300)));
    pad.button(SDL_CONTROLLER_BUTTON_BACK, false);
    EXPECT_FALSE(downNow(VK_ESCAPE));
}
