// Window classes, windows, their geometry and the messages sent while they change.
#include "Win32TestSupport.h"

using namespace win32test;

namespace {

class WindowTest : public HeadlessTest {};

POINT clientOrigin(HWND window) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    return origin;
}

}  // namespace

TEST_F(WindowTest, ClassRegistrationRejectsDuplicatesAndIncompleteClasses) {
    EXPECT_NE(registerGameClass(), 0);
    EXPECT_EQ(registerGameClass(), 0) << "a second class of the same name";

    WNDCLASSEXA other{};
    other.cbSize = sizeof(WNDCLASSEXA);
    other.lpfnWndProc = MessageLog::procedure;
    other.lpszClassName = "wINDOW";
    EXPECT_EQ(RegisterClassExA(&other), 0) << "class names ignore case";

    other.lpszClassName = "Other";
    other.cbSize = 12;
    EXPECT_EQ(RegisterClassExA(&other), 0) << "wrong cbSize";
    other.cbSize = 48;  // the 32-bit SDK's size, which the game writes
    other.lpfnWndProc = nullptr;
    EXPECT_EQ(RegisterClassExA(&other), 0) << "no window procedure";
    other.lpfnWndProc = MessageLog::procedure;
    EXPECT_NE(RegisterClassExA(&other), 0);
}

TEST_F(WindowTest, CreationNeedsARegisteredClassAndSendsCreateSizeMove) {
    EXPECT_EQ(createGameWindow(), nullptr);
    EXPECT_TRUE(MessageLog::received.empty());

    registerGameClass();
    HWND window = createGameWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(velmora::headless::lastCreatedWindow(), window);

    ASSERT_EQ(MessageLog::received.size(), 3u);
    const ReceivedMessage& create = MessageLog::received[0];
    ASSERT_EQ(create.message, static_cast<UINT>(WM_CREATE));
    const CREATESTRUCTA& cs = MessageLog::lastCreate;
    EXPECT_EQ(cs.cx, 800);
    EXPECT_EQ(cs.cy, 600);
    EXPECT_EQ(cs.x, 20);
    EXPECT_EQ(cs.y, -10);
    EXPECT_EQ(MessageLog::lastCreateName, "Velmora");

    RECT client{};
    ASSERT_TRUE(GetClientRect(window, &client));
    const ReceivedMessage& size = MessageLog::received[1];
    EXPECT_EQ(size.message, static_cast<UINT>(WM_SIZE));
    EXPECT_EQ(size.wParam, static_cast<WPARAM>(SIZE_RESTORED));
    EXPECT_EQ(LOWORD(size.lParam), client.right);
    EXPECT_EQ(HIWORD(size.lParam), client.bottom);

    const ReceivedMessage& move = MessageLog::received[2];
    EXPECT_EQ(move.message, static_cast<UINT>(WM_MOVE));
    POINT origin = clientOrigin(window);
    EXPECT_EQ(static_cast<SHORT>(LOWORD(move.lParam)), origin.x);
    EXPECT_EQ(static_cast<SHORT>(HIWORD(move.lParam)), origin.y);
}

TEST_F(WindowTest, CaptionAndBorderLieBetweenWindowAndClientRectangles) {
    registerGameClass();
    HWND window = createGameWindow();
    RECT outer{}, client{};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    EXPECT_EQ(outer.left, 20);
    EXPECT_EQ(outer.top, -10);
    EXPECT_EQ(outer.right - outer.left, 800);
    EXPECT_EQ(outer.bottom - outer.top, 600);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_LT(client.right, 800);
    EXPECT_LT(client.bottom, 600);

    // The client area sits inside the window, below the caption.
    POINT origin = clientOrigin(window);
    EXPECT_GT(origin.x, outer.left);
    EXPECT_GT(origin.y - outer.top, outer.right - (origin.x + client.right)) << "caption taller than the side border";
    EXPECT_LE(origin.x + client.right, outer.right);
    EXPECT_LE(origin.y + client.bottom, outer.bottom);
}

TEST_F(WindowTest, TheGamesResizeGivesExactlyTheWantedClientAreaForEveryFrameStyle) {
    registerGameClass();
    const DWORD styles[] = {WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, WS_OVERLAPPEDWINDOW,
                            WS_POPUP, WS_POPUP | WS_BORDER};
    for (DWORD style : styles) {
        SCOPED_TRACE(style);
        MessageLog::clear();
        HWND window = createGameWindow(style);
        ASSERT_NE(window, nullptr);
        MessageLog::clear();

        resizeClientTo(window, 1280, 720);

        RECT client{}, outer{};
        GetClientRect(window, &client);
        GetWindowRect(window, &outer);
        EXPECT_EQ(client.right, 1280);
        EXPECT_EQ(client.bottom, 720);
        EXPECT_EQ(outer.left, 20) << "MoveWindow kept the position";
        EXPECT_EQ(outer.top, -10);

        auto sizes = MessageLog::only(WM_SIZE);
        ASSERT_EQ(sizes.size(), 1u) << "MoveWindow sends WM_SIZE synchronously";
        EXPECT_EQ(LOWORD(sizes[0].lParam), 1280);
        EXPECT_EQ(HIWORD(sizes[0].lParam), 720);
        EXPECT_TRUE(MessageLog::only(WM_MOVE).empty()) << "the client area did not move";
        DestroyWindow(window);
    }
}

TEST_F(WindowTest, MoveWindowSendsOnlyTheMessagesOfWhatChanged) {
    registerGameClass();
    HWND window = createGameWindow();
    RECT outer{};
    GetWindowRect(window, &outer);
    MessageLog::clear();

    MoveWindow(window, outer.left + 5, outer.top + 7, outer.right - outer.left, outer.bottom - outer.top, TRUE);
    ASSERT_EQ(MessageLog::received.size(), 1u);
    EXPECT_EQ(MessageLog::received[0].message, static_cast<UINT>(WM_MOVE));

    MessageLog::clear();
    MoveWindow(window, outer.left - 100, outer.top, 300, 200, TRUE);
    ASSERT_EQ(MessageLog::received.size(), 2u);
    EXPECT_EQ(MessageLog::received[0].message, static_cast<UINT>(WM_MOVE)) << "move before size";
    EXPECT_EQ(MessageLog::received[1].message, static_cast<UINT>(WM_SIZE));
}

TEST_F(WindowTest, WmCloseThroughDefWindowProcDestroysTheWindow) {
    registerGameClass();
    HWND window = createGameWindow();
    PostMessageA(window, WM_USER, 0, 0);
    MessageLog::clear();

    EXPECT_EQ(DefWindowProcA(window, WM_CLOSE, 0, 0), 0);

    auto destroys = MessageLog::only(WM_DESTROY);
    ASSERT_EQ(destroys.size(), 1u);
    EXPECT_EQ(destroys[0].window, window);
    RECT untouched{1, 2, 3, 4};
    EXPECT_FALSE(GetWindowRect(window, &untouched));
    EXPECT_FALSE(GetClientRect(window, &untouched));
    EXPECT_EQ(untouched.left, 1);
    EXPECT_EQ(velmora::headless::lastCreatedWindow(), nullptr);
    EXPECT_FALSE(DestroyWindow(window));

    MSG msg{};
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) << "a destroyed window's messages are dropped";
}

TEST_F(WindowTest, AProcedureThatHandlesWmCloseKeepsItsWindow) {
    registerGameClass();
    HWND window = createGameWindow();
    MessageLog::keepWindowOnClose = true;
    velmora::headless::clickCloseBox(window);

    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_CLOSE));
    EXPECT_EQ(msg.hwnd, window);
    DispatchMessageA(&msg);

    EXPECT_TRUE(MessageLog::only(WM_DESTROY).empty());
    RECT outer{};
    EXPECT_TRUE(GetWindowRect(window, &outer));
}

TEST_F(WindowTest, FailedWmCreateDestroysTheNewWindow) {
    registerGameClass();
    MessageLog::createResult = -1;
    EXPECT_EQ(createGameWindow(), nullptr);
    EXPECT_EQ(MessageLog::only(WM_DESTROY).size(), 1u);
    EXPECT_TRUE(MessageLog::only(WM_SIZE).empty());
    EXPECT_EQ(velmora::headless::lastCreatedWindow(), nullptr);
}

TEST_F(WindowTest, ShowWindowReportsThePreviousVisibility) {
    registerGameClass();
    HWND window = createGameWindow();
    MessageLog::clear();

    EXPECT_FALSE(ShowWindow(window, SW_SHOW)) << "created hidden";
    EXPECT_TRUE(ShowWindow(window, SW_SHOW));
    EXPECT_TRUE(ShowWindow(window, SW_HIDE));
    EXPECT_FALSE(ShowWindow(window, SW_HIDE));
    auto shows = MessageLog::only(WM_SHOWWINDOW);
    ASSERT_EQ(shows.size(), 2u) << "only changes are announced";
    EXPECT_EQ(shows[0].wParam, static_cast<WPARAM>(TRUE));
    EXPECT_EQ(shows[1].wParam, static_cast<WPARAM>(FALSE));
    EXPECT_TRUE(UpdateWindow(window));

    HWND visible = CreateWindowExA(0, "Window", "v", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                   nullptr, nullptr);
    EXPECT_TRUE(ShowWindow(visible, SW_SHOW)) << "WS_VISIBLE shows the window at creation";
}

TEST_F(WindowTest, ClientToScreenAddsTheClientOrigin) {
    registerGameClass();
    HWND window = createGameWindow();
    POINT origin = clientOrigin(window);
    POINT centre{640, 360};
    ASSERT_TRUE(ClientToScreen(window, &centre));
    EXPECT_EQ(centre.x, origin.x + 640);
    EXPECT_EQ(centre.y, origin.y + 360);

    MoveWindow(window, 100, 200, 800, 600, TRUE);
    POINT moved = clientOrigin(window);
    EXPECT_EQ(moved.x - origin.x, 80);
    EXPECT_EQ(moved.y - origin.y, 210);
}
