#include "HeadlessDevice.h"

#include "velmora/DrawLog.h"
#include "velmora/HeadlessInput.h"
#include "velmora/Platform.h"

HWND createTestWindow(int clientWidth, int clientHeight) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "VelmoraDeviceTest";
    RegisterClassExA(&windowClass);
    return CreateWindowExA(0, "VelmoraDeviceTest", "device test", WS_POPUP, 0, 0, clientWidth, clientHeight,
                           nullptr, nullptr, nullptr, nullptr);
}

D3DPRESENT_PARAMETERS windowedParameters(HWND window) {
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.BackBufferCount = 2;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.hDeviceWindow = window;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    params.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return params;
}

HRESULT HeadlessDevice::create() {
    velmora::selectBackend(velmora::Backend::Headless);
    velmora::headless::resetWin32();
    velmora::resetDrawLog();
    window = createTestWindow(1280, 720);
    if (!window) return E_FAIL;
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d) return E_FAIL;
    params = windowedParameters(window);
    return d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, kHardwareFlags, &params, &device);
}

void HeadlessDevice::release() {
    if (device) device->Release();
    device = nullptr;
    if (d3d) d3d->Release();
    d3d = nullptr;
    window = nullptr;
    velmora::headless::resetWin32();
    velmora::resetDrawLog();
}
