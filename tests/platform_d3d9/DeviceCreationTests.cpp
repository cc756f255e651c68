// Creating the Direct3D object and the device on the headless backend, as the game does.
#include "HeadlessDeviceTest.h"

#include <cstdlib>
#include <string>

#include "velmora/HeadlessInput.h"
#include "velmora/Platform.h"

namespace {

class HeadlessCreationTest : public ::testing::Test {
protected:
    void SetUp() override {
        velmora::selectBackend(velmora::Backend::Headless);
        velmora::headless::resetWin32();
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d, nullptr);
    }
    void TearDown() override {
        d3d->Release();
        velmora::headless::resetWin32();
    }
    IDirect3D9* d3d = nullptr;
};

TEST_F(HeadlessCreationTest, RefusesAnotherSdkVersion) { EXPECT_EQ(Direct3DCreate9(31), nullptr); }

TEST_F(HeadlessCreationTest, ReportsTheDesktopModeInX8R8G8B8) {
    D3DDISPLAYMODE mode{};
    ASSERT_EQ(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode), D3D_OK);
    EXPECT_EQ(mode.Format, D3DFMT_X8R8G8B8);
    EXPECT_GT(mode.Width, 0u);
    EXPECT_GT(mode.Height, 0u);
    EXPECT_EQ(d3d->GetAdapterDisplayMode(1, &mode), D3DERR_INVALIDCALL);
}

TEST_F(HeadlessCreationTest, WindowedZeroSizeTakesTheClientAreaAndWritesItBack) {
    HWND window = createTestWindow(1280, 720);
    D3DPRESENT_PARAMETERS params = windowedParameters(window);
    params.BackBufferCount = 0;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, kHardwareFlags, &params, &device), D3D_OK);
    EXPECT_EQ(params.BackBufferWidth, 1280u);
    EXPECT_EQ(params.BackBufferHeight, 720u);
    EXPECT_EQ(params.BackBufferCount, 1u);
    D3DVIEWPORT9 viewport{};
    device->GetViewport(&viewport);
    EXPECT_EQ(viewport.X, 0u);
    EXPECT_EQ(viewport.Y, 0u);
    EXPECT_EQ(viewport.Width, 1280u);
    EXPECT_EQ(viewport.Height, 720u);
    EXPECT_EQ(viewport.MinZ, 0.0f);
    EXPECT_EQ(viewport.MaxZ, 1.0f);
    device->Release();
}

TEST_F(HeadlessCreationTest, FullScreenKeepsTheRequestedSize) {
    HWND window = createTestWindow(800, 600);
    D3DPRESENT_PARAMETERS params = windowedParameters(window);
    params.Windowed = FALSE;
    params.BackBufferWidth = 1280;
    params.BackBufferHeight = 720;
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, kHardwareFlags, &params, &device), D3D_OK);
    EXPECT_EQ(params.BackBufferWidth, 1280u);
    EXPECT_EQ(params.BackBufferHeight, 720u);
    device->Release();
}

TEST_F(HeadlessCreationTest, EveryAttemptOfTheGameSucceeds) {
    HWND window = createTestWindow(1280, 720);
    const DWORD common = D3DCREATE_MULTITHREADED | D3DCREATE_FPU_PRESERVE;
    const struct {
        D3DDEVTYPE type;
        DWORD flags;
    } attempts[] = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING | common},
                    {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING | common},
                    {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING | common}};
    for (const auto& attempt : attempts) {
        D3DPRESENT_PARAMETERS params = windowedParameters(window);
        IDirect3DDevice9* device = nullptr;
        EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, window, attempt.flags, &params, &device), D3D_OK);
        ASSERT_NE(device, nullptr);
        device->Release();
    }
}

TEST_F(HeadlessCreationTest, RefusesParametersThatCannotMakeADevice) {
    HWND window = createTestWindow(640, 480);
    IDirect3DDevice9* device = reinterpret_cast<IDirect3DDevice9*>(1);

    D3DPRESENT_PARAMETERS params = windowedParameters(window);
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, D3DCREATE_MULTITHREADED, &params, &device),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(device, nullptr);

    params = windowedParameters(nullptr);
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, nullptr, kHardwareFlags, &params, &device),
              D3DERR_INVALIDCALL);
    EXPECT_EQ(params.BackBufferWidth, 0u);  // untouched on failure

    params = windowedParameters(window);
    params.AutoDepthStencilFormat = D3DFMT_X8R8G8B8;
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, kHardwareFlags, &params, &device),
              D3DERR_INVALIDCALL);

    params = windowedParameters(window);
    EXPECT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_SW, window, kHardwareFlags, &params, &device),
              D3DERR_NOTAVAILABLE);
}

TEST_F(HeadlessCreationTest, DeviceKeepsTheDirect3DObject) {
    HWND window = createTestWindow(320, 240);
    D3DPRESENT_PARAMETERS params = windowedParameters(window);
    IDirect3DDevice9* device = nullptr;
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, kHardwareFlags, &params, &device), D3D_OK);
    IDirect3D9* owner = nullptr;
    ASSERT_EQ(device->GetDirect3D(&owner), D3D_OK);
    EXPECT_EQ(owner, d3d);
    EXPECT_EQ(owner->Release(), 2u);  // ours and the device's
    EXPECT_EQ(device->Release(), 0u);
}

}  // namespace

namespace {

// A player without a display gets no Direct3D object (the game's start-up failure),
// even where SDL could fall back to a driver that shows nothing.
TEST(RealBackendCreationTest, NoDisplayMeansNoDirect3D) {
    const char* previous = std::getenv("SDL_VIDEODRIVER");
    const std::string saved = previous ? previous : "";
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    velmora::selectBackend(velmora::Backend::Real);
    velmora::allowOffscreenVideo(false);
    velmora::headless::resetWin32();
    IDirect3D9* d3d = Direct3DCreate9(D3D_SDK_VERSION);
    EXPECT_EQ(d3d, nullptr);
    if (d3d) d3d->Release();
    velmora::headless::resetWin32();
    if (previous)
        setenv("SDL_VIDEODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_VIDEODRIVER");
}

}  // namespace
