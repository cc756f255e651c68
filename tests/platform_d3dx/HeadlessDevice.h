// A headless Direct3D 9 device on a 1280 x 720 window: its draw log shows what D3DX asks
// the device to do, and its buffers and textures keep their data in memory.
#pragma once

#include <d3d9.h>
#include <gtest/gtest.h>

#include "velmora/DrawLog.h"
#include "velmora/HeadlessInput.h"
#include "velmora/Platform.h"

class HeadlessDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        velmora::selectBackend(velmora::Backend::Headless);
        velmora::headless::resetWin32();
        velmora::resetDrawLog();

        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "VelmoraD3DXTest";
        RegisterClassExA(&windowClass);
        window_ = CreateWindowExA(0, "VelmoraD3DXTest", "d3dx test", WS_POPUP, 0, 0, 1280, 720, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(window_, nullptr);

        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d_, nullptr);
        D3DPRESENT_PARAMETERS params{};
        params.BackBufferFormat = D3DFMT_X8R8G8B8;
        params.BackBufferCount = 1;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        params.hDeviceWindow = window_;
        params.Windowed = TRUE;
        params.EnableAutoDepthStencil = TRUE;
        params.AutoDepthStencilFormat = D3DFMT_D24S8;
        ASSERT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_,
                                     D3DCREATE_HARDWARE_VERTEXPROCESSING, &params, &device),
                  D3D_OK);
    }

    void TearDown() override {
        if (device) device->Release();
        if (d3d_) d3d_->Release();
        velmora::headless::resetWin32();
        velmora::resetDrawLog();
    }

    IDirect3DDevice9* device = nullptr;

private:
    HWND window_ = nullptr;
    IDirect3D9* d3d_ = nullptr;
};
