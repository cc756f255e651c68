// The real backend: refusing video without a display, and under an X server (Xvfb) the
// window's size, input from xdotool, the close box and real message boxes.
#include "Win32TestSupport.h"

#include "velmora/Settings.h"
#include "win32/WindowSystem.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <unistd.h>

using namespace win32test;

namespace {

std::string run(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
        pclose(pipe);
    }
    return output;
}

// Pumps messages until the condition holds or two seconds pass.
bool pumpUntil(const std::function<bool()>& condition) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline) {
        MSG msg{};
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

bool downNow(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

class NoDisplayTest : public RealBackendTest {
protected:
    ScopedEnv display{"DISPLAY", std::nullopt};
    ScopedEnv wayland{"WAYLAND_DISPLAY", std::nullopt};
};

// Needs an X server (CI runs the suite under xvfb-run) and xdotool.
class DisplayTest : public RealBackendTest {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
        if (run("command -v xdotool").empty()) GTEST_SKIP() << "xdotool missing";
        RealBackendTest::SetUp();
        ASSERT_TRUE(velmora::win32::videoAvailable()) << "SDL video on " << std::getenv("DISPLAY");
        title = "VelmoraWin32Test" + std::to_string(getpid());
        registerGameClass();
        window = CreateWindowExA(0, "Window", title.c_str(), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 20, -10,
                                 800, 600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        resizeClientTo(window, 1280, 720);
        ShowWindow(window, SW_SHOW);
    }

    // The X window by its caption, read as the ship tests read it (xdotool's name search
    // misses a caption SDL sets in a UTF-8 locale).
    std::string xWindow() {
        return run("xwininfo -root -tree | grep -F '\"" + title + "\":' | awk '{printf \"%s\", $1}' | head -c 20");
    }
    // Gives the window the keyboard, which needs no window manager.
    void focusWindow() { run("xdotool windowfocus --sync " + xWindow() + " 2>/dev/null"); }

    std::string title;
    HWND window = nullptr;
};

}  // namespace

TEST_F(NoDisplayTest, VideoIsRefusedButWindowsStillWork) {
    ScopedEnv driver("SDL_VIDEODRIVER", std::nullopt);
    EXPECT_FALSE(velmora::win32::videoAvailable());

    registerGameClass();
    HWND window = createGameWindow();
    ASSERT_NE(window, nullptr) << "the game does not test the window";
    EXPECT_EQ(velmora::win32::sdlWindow(window), nullptr);
    resizeClientTo(window, 1280, 720);
    int width = 0, height = 0;
    ASSERT_TRUE(velmora::win32::clientSize(window, &width, &height));
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 720);
    ShowWindow(window, SW_SHOW);
    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(NoDisplayTest, OffscreenAndDummyDriversOnlyWhenAllowed) {
    for (const char* name : {"offscreen", "dummy"}) {
        SCOPED_TRACE(name);
        ScopedEnv driver("SDL_VIDEODRIVER", std::string(name));
        velmora::headless::resetWin32();
        EXPECT_FALSE(velmora::win32::videoAvailable());
    }

    ScopedEnv driver("SDL_VIDEODRIVER", std::string("offscreen"));
    velmora::headless::resetWin32();
    velmora::allowOffscreenVideo(true);
    ASSERT_TRUE(velmora::win32::videoAvailable());
    registerGameClass();
    HWND window = createGameWindow();
    resizeClientTo(window, 1280, 720);
    SDL_Window* sdl = velmora::win32::sdlWindow(window);
    ASSERT_NE(sdl, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_OPENGL);
    int width = 0, height = 0;
    SDL_GetWindowSize(sdl, &width, &height);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 720);

    // Nobody could see a box here: the text goes to standard error.
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(window, "question", "caption", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("caption: question\n"), std::string::npos);
}

TEST(HeadlessVideoTest, TheHeadlessBackendHasNoVideo) {
    velmora::selectBackend(velmora::Backend::Headless);
    velmora::headless::resetWin32();
    EXPECT_FALSE(velmora::win32::videoAvailable());
    registerGameClass();
    HWND window = createGameWindow();
    EXPECT_EQ(velmora::win32::sdlWindow(window), nullptr);
    EXPECT_TRUE(velmora::win32::setFullScreen(window, true));
    EXPECT_TRUE(velmora::win32::isFullScreen(window));
    EXPECT_FALSE(velmora::win32::setFullScreen(nullptr, true));
    velmora::headless::resetWin32();
}

TEST_F(DisplayTest, TheWindowHasExactlyTheWantedClientArea) {
    SDL_Window* sdl = velmora::win32::sdlWindow(window);
    ASSERT_NE(sdl, nullptr);
    EXPECT_TRUE(SDL_GetWindowFlags(sdl) & SDL_WINDOW_SHOWN);
    std::string geometry = run("xdotool getwindowgeometry " + xWindow());
    EXPECT_NE(geometry.find("Geometry: 1280x720"), std::string::npos) << geometry;
}

TEST_F(DisplayTest, RelativeMouseMotionArrivesExactly) {
    ShowCursor(FALSE);  // the game hides the cursor and re-centres it every frame
    focusWindow();
    EXPECT_TRUE(pumpUntil([] { return SDL_GetRelativeMouseMode() == SDL_TRUE; }));
    POINT home{640, 360};
    ClientToScreen(window, &home);
    SetCursorPos(home.x, home.y);

    run("xdotool mousemove_relative -- 30 0");
    POINT now{};
    ASSERT_TRUE(pumpUntil([&] { return GetCursorPos(&now) && now.x != home.x; }));
    EXPECT_EQ(now.x, home.x + 30);
    EXPECT_EQ(now.y, home.y);

    SetCursorPos(home.x, home.y);
    GetCursorPos(&now);
    EXPECT_EQ(now.x, home.x);

    run("xdotool mousemove_relative -- -7 12");
    ASSERT_TRUE(pumpUntil([&] { return GetCursorPos(&now) && now.y != home.y; }));
    EXPECT_EQ(now.x, home.x - 7);
    EXPECT_EQ(now.y, home.y + 12);

    ShowCursor(TRUE);
    EXPECT_FALSE(SDL_GetRelativeMouseMode());
}

TEST_F(DisplayTest, SlowMouseMotionAddsUpAtLowSpeedAndInvertYFlipsIt) {
    const velmora::Settings saved = velmora::settings();
    velmora::settings().mouseSpeed = 0.25;
    ShowCursor(FALSE);
    focusWindow();
    POINT home{640, 360};
    ClientToScreen(window, &home);
    SetCursorPos(home.x, home.y);
    auto nudge = [](int times, const char* step) {
        for (int i = 0; i < times; ++i) run(std::string("xdotool mousemove_relative -- ") + step);
    };

    POINT now{};
    nudge(10, "1 1");
    pumpUntil([&] { return GetCursorPos(&now) && now.x == home.x + 2; });
    EXPECT_EQ(now.x, home.x + 2) << "ten quarter pixels";
    EXPECT_EQ(now.y, home.y + 2);
    SetCursorPos(home.x, home.y);  // the next frame keeps the half pixel left over
    nudge(2, "1 1");
    pumpUntil([&] { return GetCursorPos(&now) && now.x == home.x + 1; });
    EXPECT_EQ(now.x, home.x + 1);
    EXPECT_EQ(now.y, home.y + 1);

    velmora::settings().invertY = true;
    SetCursorPos(home.x, home.y);
    nudge(8, "0 1");
    pumpUntil([&] { return GetCursorPos(&now) && now.y != home.y; });
    EXPECT_EQ(now.y, home.y - 2);
    EXPECT_EQ(now.x, home.x);
    velmora::settings() = saved;
    ShowCursor(TRUE);
}

TEST_F(DisplayTest, AwayFromTheGameThePointerIsFreeAndTheCursorStill) {
    ShowCursor(FALSE);
    focusWindow();
    ASSERT_TRUE(pumpUntil([] { return SDL_GetRelativeMouseMode() == SDL_TRUE; }));
    POINT home{640, 360};
    ClientToScreen(window, &home);
    SetCursorPos(home.x, home.y);

    run("xdotool windowfocus --sync $(xwininfo -root | awk '/Window id/ {print $4}') 2>/dev/null");
    EXPECT_TRUE(pumpUntil([] { return SDL_GetRelativeMouseMode() == SDL_FALSE; })) << "the pointer is let go";
    run("xdotool mousemove_relative -- 40 25");
    POINT now{};
    EXPECT_FALSE(pumpUntil([&] { return GetCursorPos(&now) && (now.x != home.x || now.y != home.y); }))
        << "moved by " << now.x - home.x << ", " << now.y - home.y;

    focusWindow();
    EXPECT_TRUE(pumpUntil([] { return SDL_GetRelativeMouseMode() == SDL_TRUE; })) << "captured again";
    GetCursorPos(&now);
    EXPECT_EQ(now.x, home.x) << "no jump on the way back";
    EXPECT_EQ(now.y, home.y);
    run("xdotool mousemove_relative -- 5 0");
    EXPECT_TRUE(pumpUntil([&] { return GetCursorPos(&now) && now.x == home.x + 5; }));
    ShowCursor(TRUE);
}

TEST_F(DisplayTest, HeldKeysAndButtonsReadAsDown) {
    focusWindow();
    run("xdotool keydown w");
    EXPECT_TRUE(pumpUntil([] { return downNow('W'); }));
    EXPECT_FALSE(downNow('S'));
    run("xdotool keyup w");
    EXPECT_TRUE(pumpUntil([] { return !downNow('W'); }));

    velmora::settings().escape = velmora::EscapeChoice::Quit;  // read as a key, not as the menu's
    run("xdotool keydown Escape");
    EXPECT_TRUE(pumpUntil([] { return downNow(VK_ESCAPE); }));
    run("xdotool keyup Escape");
    EXPECT_TRUE(pumpUntil([] { return !downNow(VK_ESCAPE); }));

    run("xdotool mousedown 1");
    EXPECT_TRUE(pumpUntil([] { return downNow(VK_LBUTTON); }));
    run("xdotool mouseup 1");
    EXPECT_TRUE(pumpUntil([] { return !downNow(VK_LBUTTON); }));
}

TEST_F(DisplayTest, TheCloseBoxPostsWmCloseAndPollingNeverBlocks) {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));

    SDL_Event close{};
    close.type = SDL_WINDOWEVENT;
    close.window.event = SDL_WINDOWEVENT_CLOSE;
    close.window.windowID = SDL_GetWindowID(velmora::win32::sdlWindow(window));
    SDL_PushEvent(&close);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(msg.hwnd, window);
}

TEST_F(DisplayTest, FullScreenShowsTheSameClientAreaOnTheWholeDesktop) {
    SDL_Window* sdl = velmora::win32::sdlWindow(window);
    ASSERT_TRUE(velmora::win32::setFullScreen(window, true));
    EXPECT_TRUE(velmora::win32::isFullScreen(window));
    EXPECT_EQ(SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP, SDL_WINDOW_FULLSCREEN_DESKTOP);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 1280) << "the game's client size is what it asked for";
    EXPECT_EQ(client.bottom, 720);

    ASSERT_TRUE(velmora::win32::setFullScreen(window, false));
    EXPECT_EQ(SDL_GetWindowFlags(sdl) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    int width = 0, height = 0;
    SDL_GetWindowSize(sdl, &width, &height);
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 720);
}

TEST_F(DisplayTest, ReturnAnswersARealBoxWithItsDefaultButton) {
    // SDL draws its box with X core fonts (Debian's xfonts-base).
    if (run("xlsfonts -fn '-*-*-medium-r-normal--*-120-*-*-*-*-*-*' 2>/dev/null").empty())
        GTEST_SKIP() << "the X server has no fonts for message boxes";

    // The box runs in a process of its own and blocks; a helper finds it by its caption
    // and presses Return once it is up. Returns whether it found one.
    auto answerWithReturn = [](const std::string& caption) {
        std::string script =
            "for i in $(seq 1 50); do id=$(xwininfo -root -tree | grep '\"" + caption +
            "\"' | awk '{print $1}' | head -n 1); if [ -n \"$id\" ]; then sleep 0.3; "
            "xdotool key --window \"$id\" Return; echo found; exit 0; fi; sleep 0.2; done";
        return std::async(std::launch::async, [script] { return run(script) == "found\n"; });
    };

    std::string caption = title + "Box";
    auto helper = answerWithReturn(caption);
    EXPECT_EQ(MessageBoxA(window, "Full screen?", caption.c_str(), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2),
              IDNO);
    EXPECT_TRUE(helper.get()) << "the box was not shown";

    helper = answerWithReturn(caption);
    EXPECT_EQ(MessageBoxA(window, "Full screen?", caption.c_str(), MB_YESNO | MB_ICONQUESTION), IDYES);
    EXPECT_TRUE(helper.get()) << "the box was not shown";
}

namespace {

// Keys and buttons are the game's only while one of its windows has the keyboard: with
// the focus on the desktop, neither a held button nor a key pressed there reads as down.
TEST_F(DisplayTest, KeysAndButtonsCountOnlyWhileTheGameHasTheFocus) {
    focusWindow();
    run("xdotool mousedown 1");
    EXPECT_TRUE(pumpUntil([] { return downNow(VK_LBUTTON); }));

    run("xdotool windowfocus --sync $(xwininfo -root | awk '/Window id/ {print $4}') 2>/dev/null");
    EXPECT_TRUE(pumpUntil([] { return !downNow(VK_LBUTTON); })) << "a button held outside the game reads as down";
    run("xdotool keydown w");
    EXPECT_FALSE(pumpUntil([] { return downNow('W'); }));
    run("xdotool keyup w");
    run("xdotool mouseup 1");
}

// Maximising, restoring and minimising reach the window procedure as WM_SIZE, the first
// two with the client size, the last with none (an iconic window has no client area).
TEST_F(DisplayTest, MaximiseRestoreAndMinimiseSendWmSizeOfTheirKind) {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    MessageLog::clear();
    for (Uint8 change : {SDL_WINDOWEVENT_MAXIMIZED, SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_MINIMIZED}) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = change;
        event.window.windowID = SDL_GetWindowID(velmora::win32::sdlWindow(window));
        SDL_PushEvent(&event);
    }
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    std::vector<ReceivedMessage> sizes = MessageLog::only(WM_SIZE);
    ASSERT_EQ(sizes.size(), 3u);
    const LPARAM client = MAKELONG(1280, 720);
    EXPECT_EQ(sizes[0].wParam, static_cast<WPARAM>(SIZE_MAXIMIZED));
    EXPECT_EQ(sizes[0].lParam, client);
    EXPECT_EQ(sizes[1].wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(sizes[1].lParam, client);
    EXPECT_EQ(sizes[2].wParam, static_cast<WPARAM>(SIZE_MINIMIZED));
    EXPECT_EQ(sizes[2].lParam, 0);
    EXPECT_EQ(sizes[2].window, window);
}

}  // namespace

