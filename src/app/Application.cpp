#include "Application.h"

#include <mmsystem.h>

#include <algorithm>

#include "ComRelease.h"
#include "Graphics.h"
#include "SceneManager.h"

namespace {

// The rules advance in steps of this length; all speeds of the game are per step.
const DWORD kStepMilliseconds = 16;
// A late machine catches up with steps that are drawn unseen, at most this many steps a
// shown frame (about 100 ms); later still, the game slows down instead of falling behind.
const int kMostStepsPerShownFrame = 6;
const DWORD kMostLateMilliseconds = (kMostStepsPerShownFrame - 1) * kStepMilliseconds;

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
      quitting(false), lateMilliseconds(0), unseenSteps(0) {}

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
    lateMilliseconds = 0;
    unseenSteps = 0;
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

// One step of the rules: update, show the image drawn in the previous step, draw the next
// one, then sleep out the rest of the step. A step that starts a whole step late is drawn
// unseen instead: it shows nothing, and its update and draw run with the scissor
// rectangle empty, so that the rules kept in them advance while the image last drawn
// stays for the next step to show. Such steps cost little, and the game keeps its pace.
void Application::runFrame() {
    DWORD start = timeGetTime();
    IDirect3DDevice9* device = Graphics::get().device;
    const bool unseen = lateMilliseconds >= kStepMilliseconds && unseenSteps < kMostStepsPerShownFrame - 1;
    if (unseen) {
        RECT nothing = {0, 0, 0, 0};
        device->SetScissorRect(&nothing);
        device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
        g_sceneManager->update();
        g_sceneManager->draw();
        device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
        ++unseenSteps;
    } else {
        g_sceneManager->update();
        device->Present(nullptr, nullptr, nullptr, nullptr);
        g_sceneManager->draw();
        unseenSteps = 0;
    }
    DWORD elapsed = timeGetTime() - start;
    if (elapsed + lateMilliseconds < kStepMilliseconds) {
        Sleep(kStepMilliseconds - elapsed - lateMilliseconds);
        lateMilliseconds = 0;
    } else {
        lateMilliseconds = (std::min)(elapsed + lateMilliseconds - kStepMilliseconds, kMostLateMilliseconds);
    }
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
