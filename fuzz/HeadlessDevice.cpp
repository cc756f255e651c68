#include "HeadlessDevice.h"

#include <cstdio>
#include <cstdlib>

#include "velmora/Platform.h"

namespace {

IDirect3DDevice9* createDevice() {
    velmora::selectBackend(velmora::Backend::Headless);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "VelmoraFuzz";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, "VelmoraFuzz", "fuzz", WS_POPUP, 0, 0, 1280, 720, nullptr, nullptr, nullptr,
                                  nullptr);
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    D3DPRESENT_PARAMETERS params{};
    params.BackBufferWidth = 1280;
    params.BackBufferHeight = 720;
    params.BackBufferFormat = D3DFMT_X8R8G8B8;
    params.BackBufferCount = 1;
    params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    params.hDeviceWindow = window;
    params.Windowed = TRUE;
    params.EnableAutoDepthStencil = TRUE;
    params.AutoDepthStencilFormat = D3DFMT_D24S8;
    IDirect3DDevice9* device = nullptr;
    if (!window || !d3d ||
        FAILED(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                 &params, &device))) {
        std::fprintf(stderr, "no headless Direct3D device\n");
        std::abort();
    }
    return device;
}

}  // namespace

IDirect3DDevice9* headlessDevice() {
    static IDirect3DDevice9* device = createDevice();
    return device;
}
