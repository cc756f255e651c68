// A headless device on a 1280 x 720 window, created as the game creates it.
#pragma once

#include "TestWindow.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include "velmora/DrawLog.h"
#include "velmora/HeadlessInput.h"
#include "velmora/Platform.h"

namespace d3d9test {

inline D3DPRESENT_PARAMETERS windowedParameters(HWND window) {
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

inline const DWORD kHardwareFlags =
    D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_MULTITHREADED | D3DCREATE_FPU_PRESERVE;

class HeadlessDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        velmora::selectBackend(velmora::Backend::Headless);
        velmora::headless::resetWin32();
        velmora::resetDrawLog();
        window = createTestWindow(1280, 720);
        ASSERT_NE(window, nullptr);
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
        params = windowedParameters(window);
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, kHardwareFlags, &params, &device),
                  D3D_OK);
    }

    void TearDown() override {
        if (device) device->Release();
        if (d3d) d3d->Release();
        velmora::headless::resetWin32();
        velmora::resetDrawLog();
    }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
    D3DPRESENT_PARAMETERS params{};
};

}  // namespace d3d9test
