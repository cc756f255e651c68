// Shared pieces of the window-system tests: fixtures for both backends, a window
// procedure that records what it receives, and the game's own window set-up steps.
#pragma once

#include "velmora/HeadlessInput.h"
#include "velmora/Platform.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace win32test {

struct ReceivedMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Records every message; WM_CLOSE and the rest go on to DefWindowProcA, except while
// keepWindowOnClose is set (then WM_CLOSE is swallowed, as the game's procedure does).
struct MessageLog {
    static std::vector<ReceivedMessage> received;
    static bool keepWindowOnClose;
    static LRESULT createResult;  // what WM_CREATE answers
    // WM_CREATE's structure lives only during the call: a copy, with its window name.
    static CREATESTRUCTA lastCreate;
    static std::string lastCreateName;

    static void clear();
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static std::vector<ReceivedMessage> only(UINT message);
};

// The game's set-up: class "Window", a captioned 800 x 600 window at (20, -10).
ATOM registerGameClass();
HWND createGameWindow(DWORD style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
// The game's resize: window size less client size plus the wanted client size.
void resizeClientTo(HWND window, int width, int height);

class HeadlessTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// Sets (or with nullopt removes) an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> saved_;
};

// Real backend, offscreen video not allowed; everything reset afterwards.
class RealBackendTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace win32test
