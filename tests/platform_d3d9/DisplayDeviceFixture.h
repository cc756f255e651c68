// A device on the real backend (OpenGL 3.3) for tests that read pixels back. Runs under
// Xvfb or with SDL's offscreen driver; skips itself when no GL 3.3 display is there.
#pragma once

#include "HeadlessDevice.h"

#include <d3d9.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>

#include "velmora/HeadlessInput.h"
#include "velmora/Platform.h"
#include "velmora/Screenshot.h"

namespace d3d9test {

// An orthographic projection that maps Direct3D pixel coordinates (origin top-left, y
// down, pixel centres on integers) to the viewport, as ID3DXSprite sets up.
inline D3DMATRIX pixelProjection(float width, float height) {
    const float l = 0.5f, r = width + 0.5f, t = 0.5f, b = height + 0.5f;
    D3DMATRIX m{};
    m._11 = 2.0f / (r - l);
    m._22 = 2.0f / (t - b);
    m._33 = 1.0f;
    m._41 = (l + r) / (l - r);
    m._42 = (t + b) / (b - t);
    m._44 = 1.0f;
    return m;
}

// Where a test may leave a picture of what it drew, for a person to look at.
inline std::string screenshotPath(const std::string& name) {
    const char* dir = std::getenv("VELMORA_SCREENSHOT_DIR");
    return std::string(dir ? dir : ".") + "/" + name + ".png";
}

// A 1280 x 720 window on the real backend and the Direct3D object; the device is the
// test's to make (released here).
class DisplayWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        velmora::selectBackend(velmora::Backend::Real);
        velmora::allowOffscreenVideo(true);
        velmora::headless::resetWin32();
        d3d = Direct3DCreate9(D3D_SDK_VERSION);
        if (!d3d) GTEST_SKIP() << "no display with OpenGL 3.3";
        window = createTestWindow(1280, 720);
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override {
        if (device) device->Release();
        if (d3d) d3d->Release();
        velmora::headless::resetWin32();
        velmora::allowOffscreenVideo(false);
        velmora::selectBackend(velmora::Backend::Real);
    }

    HWND window = nullptr;
    IDirect3D9* d3d = nullptr;
    IDirect3DDevice9* device = nullptr;
};

// The same with a windowed device whose back buffer is the window's, unlit, with a
// projection that maps x and y to pixels.
class DisplayDeviceTest : public DisplayWindowTest {
protected:
    void SetUp() override {
        DisplayWindowTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        params = windowedParameters(window);
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, kHardwareFlags, &params, &device),
                  D3D_OK);
        const D3DMATRIX projection = pixelProjection(1280.0f, 720.0f);
        device->SetTransform(D3DTS_PROJECTION, &projection);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
    }

    velmora::Image readBack() {
        velmora::Image image;
        EXPECT_TRUE(velmora::readBackBuffer(image));
        EXPECT_EQ(image.width, 1280u);
        EXPECT_EQ(image.height, 720u);
        return image;
    }

    // A 2 x 2 managed texture of `format` holding `texels` row by row.
    void makeTexture2x2(D3DFORMAT format, const DWORD texels[4], IDirect3DTexture9** texture) {
        ASSERT_EQ(device->CreateTexture(2, 2, 1, 0, format, D3DPOOL_MANAGED, texture, nullptr), D3D_OK);
        D3DLOCKED_RECT locked{};
        (*texture)->LockRect(0, &locked, nullptr, 0);
        for (int y = 0; y < 2; ++y)
            std::memcpy(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch, texels + 2 * y, 8);
        (*texture)->UnlockRect(0);
    }

    D3DPRESENT_PARAMETERS params{};
};

inline ::testing::AssertionResult colourNear(const velmora::Rgba& got, int r, int g, int b, int tolerance = 2) {
    if (std::abs(got.r - r) <= tolerance && std::abs(got.g - g) <= tolerance && std::abs(got.b - b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << int(got.r) << ", " << int(got.g) << ", " << int(got.b)
                                         << "), expected (" << r << ", " << g << ", " << b << ")";
}

// A pixel of a read-back image and the colour it must have exactly.
struct ExactPixel {
    unsigned x, y;
    int r, g, b;
};

inline void expectExactPixels(const velmora::Image& image, std::initializer_list<ExactPixel> pixels) {
    for (const ExactPixel& p : pixels)
        EXPECT_TRUE(colourNear(image.pixel(p.x, p.y), p.r, p.g, p.b, 0)) << "pixel (" << p.x << ", " << p.y << ")";
}

}  // namespace d3d9test
