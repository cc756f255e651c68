#include "Win32TestSupport.h"

namespace win32test {

std::vector<ReceivedMessage> MessageLog::received;
bool MessageLog::keepWindowOnClose = false;
LRESULT MessageLog::createResult = 0;
CREATESTRUCTA MessageLog::lastCreate{};
std::string MessageLog::lastCreateName;

void MessageLog::clear() {
    received.clear();
    keepWindowOnClose = false;
    createResult = 0;
}

LRESULT CALLBACK MessageLog::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    received.push_back({window, message, wParam, lParam});
    if (message == WM_CREATE) {
        lastCreate = *reinterpret_cast<const CREATESTRUCTA*>(lParam);
        lastCreateName = lastCreate.lpszName ? lastCreate.lpszName : "";
        return createResult;
    }
    if (message == WM_CLOSE && keepWindowOnClose) return 0;
    return DefWindowProcA(window, message, wParam, lParam);
}

std::vector<ReceivedMessage> MessageLog::only(UINT message) {
    std::vector<ReceivedMessage> matching;
    for (const ReceivedMessage& m : received)
        if (m.message == message) matching.push_back(m);
    return matching;
}

ATOM registerGameClass() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.lpfnWndProc = MessageLog::procedure;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "Window";
    windowClass.hIconSm = windowClass.hIcon;
    return RegisterClassExA(&windowClass);
}

HWND createGameWindow(DWORD style) {
    return CreateWindowExA(0, "Window", "Velmora", style, 20, -10, 800, 600, nullptr, nullptr, nullptr, nullptr);
}

void resizeClientTo(HWND window, int width, int height) {
    RECT wr{}, cr{};
    GetWindowRect(window, &wr);
    GetClientRect(window, &cr);
    MoveWindow(window, wr.left, wr.top, (wr.right - wr.left) - (cr.right - cr.left) + width,
               (wr.bottom - wr.top) - (cr.bottom - cr.top) + height, TRUE);
}

void HeadlessTest::SetUp() {
    velmora::selectBackend(velmora::Backend::Headless);
    velmora::headless::resetWin32();
    MessageLog::clear();
}

void HeadlessTest::TearDown() { velmora::headless::resetWin32(); }

ScopedEnv::ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* current = std::getenv(name)) saved_ = current;
    if (value)
        setenv(name, value->c_str(), 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (saved_)
        setenv(name_.c_str(), saved_->c_str(), 1);
    else
        unsetenv(name_.c_str());
}

void RealBackendTest::SetUp() {
    velmora::selectBackend(velmora::Backend::Real);
    velmora::allowOffscreenVideo(false);
    velmora::headless::resetWin32();
    MessageLog::clear();
}

void RealBackendTest::TearDown() {
    velmora::headless::resetWin32();
    velmora::allowOffscreenVideo(false);
    velmora::selectBackend(velmora::Backend::Headless);
}

}  // namespace win32test
