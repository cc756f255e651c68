#include "Application.h"

#include <mmsystem.h>

#include "ComRelease.h"
#include "Graphics.h"
#include "SceneManager.h"

namespace {

// Every frame lasts at least this long; all speeds of the game are per frame.
const DWORD kFrameMilliseconds = 16;

LRESULT CALLBACK windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return Application::get().handleMessage(hwnd, message, wParam, lParam);
}

bool keyDownNow(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

}  // namespace

Application& Application::get() {
    static Application application;
    return application;
}

Application::Application()
    : instance(nullptr), window(nullptr), clientWidth(0), clientHeight(0), closeRequested(false),
      quitting(false) {}

bool Application::create(HINSTANCE moduleInstance, int width, int height) {
    instance = moduleInstance;

    WNDCLASSEXA windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(WNDCLASSEXA);
    windowClass.style = 0;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = "Window";
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    if (!RegisterClassExA(&windowClass)) return false;

    window = CreateWindowExA(0, "Window", "Velmora", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
                             20, -10, 800, 600, nullptr, nullptr, instance, nullptr);

    // Grow the window by its frame so that the client area gets exactly the asked size.
    RECT windowRect;
    RECT clientRect;
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    MoveWindow(window, windowRect.left, windowRect.top,
               (windowRect.right - windowRect.left) - (clientRect.right - clientRect.left) + width,
               (windowRect.bottom - windowRect.top) - (clientRect.bottom - clientRect.top) + height, TRUE);

    timeBeginPeriod(1);

    bool fullScreen = MessageBoxA(window, "フルスクリーンにしますか？", "確認",
                                  MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) == IDYES;
    if (!Graphics::get().init(window, clientWidth, clientHeight, D3DFMT_X8R8G8B8, fullScreen)) {
        MessageBoxA(window, "Direct3D初期化ミス", "", MB_OK);
        return false;
    }
    Graphics::get().setDefaultStates();
    modelEffect.load();

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    closeRequested = false;
    quitting = false;
    return true;
}

int Application::run() {
    for (;;) {
        if (closeRequested) {
            quitting = true;
            return 0;
        }
        if (quitting) return 0;

        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            runFrame();
        }

        if (keyDownNow(VK_ESCAPE)) return 0;
    }
}

// Update, show the image drawn in the previous frame, draw the next one, then sleep
// out the rest of the frame. A slow frame is not made up.
void Application::runFrame() {
    DWORD start = timeGetTime();
    g_sceneManager->update();
    Graphics::get().device->Present(nullptr, nullptr, nullptr, nullptr);
    g_sceneManager->draw();
    DWORD elapsed = timeGetTime() - start;
    if (elapsed < kFrameMilliseconds) Sleep(kFrameMilliseconds - elapsed);
}

LRESULT Application::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: {
            RECT client;
            GetClientRect(hwnd, &client);
            clientWidth = client.right;
            clientHeight = client.bottom;
            return 0;
        }
        case WM_CLOSE:
            // The window stays; the frame loop sees the flag and ends.
            closeRequested = true;
            return 0;
        default:
            return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}
