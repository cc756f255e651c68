#include "TestDevice.h"

#include <gtest/gtest.h>

#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

namespace assettest {
namespace {

IDirect3DDevice9* g_device = nullptr;

class HeadlessDeviceEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        velmora::selectBackend(velmora::Backend::Headless);
        velmora::headless::resetWin32();

        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "VelmoraAssetTest";
        RegisterClassExA(&windowClass);
        HWND window = CreateWindowExA(0, "VelmoraAssetTest", "asset test", WS_POPUP, 0, 0, 1280, 720, nullptr,
                                      nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);

        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d_, nullptr);
        D3DPRESENT_PARAMETERS params{};
        params.BackBufferFormat = D3DFMT_X8R8G8B8;
        params.BackBufferCount = 1;
        params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        params.hDeviceWindow = window;
        params.Windowed = TRUE;
        params.EnableAutoDepthStencil = TRUE;
        params.AutoDepthStencilFormat = D3DFMT_D24S8;
        ASSERT_EQ(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_HARDWARE_VERTEXPROCESSING,
                                     &params, &g_device),
                  D3D_OK);
    }

    void TearDown() override {
        if (g_device) g_device->Release();
        g_device = nullptr;
        if (d3d_) d3d_->Release();
        d3d_ = nullptr;
        velmora::headless::resetWin32();
    }

private:
    IDirect3D9* d3d_ = nullptr;
};

::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new HeadlessDeviceEnvironment);

}  // namespace

IDirect3DDevice9* testDevice() { return g_device; }

}  // namespace assettest
