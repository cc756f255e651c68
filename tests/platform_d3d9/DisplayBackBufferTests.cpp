// Where the OpenGL renderer draws a frame: straight into the window when the back buffer
// has the window's size, into an offscreen framebuffer otherwise (a back buffer of another
// size, or a window resized since the device was made). Either way the frame must read
// back whole and blend as an X8R8G8B8 back buffer does.
#include "DisplayDeviceFixture.h"

using namespace d3d9test;

namespace {

struct ColourVertex {
    float x, y, z;
    D3DCOLOR color;
};

class BackBufferTest : public DisplayWindowTest {
protected:
    // A windowed device with a back buffer of the given size (0 x 0: the window's).
    void makeDevice(UINT width, UINT height) {
        D3DPRESENT_PARAMETERS params = windowedParameters(window);
        params.BackBufferWidth = width;
        params.BackBufferHeight = height;
        ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, kHardwareFlags, &params, &device),
                  D3D_OK);
        size = {params.BackBufferWidth, params.BackBufferHeight};
        const D3DMATRIX projection = pixelProjection(float(size.width), float(size.height));
        device->SetTransform(D3DTS_PROJECTION, &projection);
        device->SetRenderState(D3DRS_LIGHTING, FALSE);
        device->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    }

    void drawRectangle(float left, float top, float right, float bottom, D3DCOLOR color) {
        const ColourVertex quad[4] = {{left, top, 0.5f, color},
                                      {right, top, 0.5f, color},
                                      {right, bottom, 0.5f, color},
                                      {left, bottom, 0.5f, color}};
        ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(ColourVertex)), D3D_OK);
    }

    // One frame: cleared blue, a red rectangle at the top left and a green one at the
    // bottom right corner of the back buffer, then read back.
    velmora::Image drawFrame() {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
        device->BeginScene();
        drawRectangle(0, 0, 100, 50, 0xFFFF0000);
        drawRectangle(float(size.width) - 100, float(size.height) - 50, float(size.width), float(size.height),
                      0xFF00FF00);
        device->EndScene();
        velmora::Image image;
        EXPECT_TRUE(velmora::readBackBuffer(image));
        return image;
    }

    ::testing::AssertionResult wholeFrame(const velmora::Image& image) {
        if (image.width != size.width || image.height != size.height)
            return ::testing::AssertionFailure() << "read " << image.width << " x " << image.height;
        const unsigned right = size.width - 1, bottom = size.height - 1;
        if (!colourNear(image.pixel(0, 0), 255, 0, 0, 0)) return colourNear(image.pixel(0, 0), 255, 0, 0, 0);
        if (!colourNear(image.pixel(right, bottom), 0, 255, 0, 0))
            return colourNear(image.pixel(right, bottom), 0, 255, 0, 0) << " at the bottom right";
        return colourNear(image.pixel(size.width / 2, size.height / 2), 0, 0, 255, 0) << " in the middle";
    }

    struct {
        UINT width, height;
    } size{};
};

TEST_F(BackBufferTest, BackBuffersOfTheWindowsSizeOrAnotherReadBackWhole) {
    for (const UINT width : {0u, 640u, 1600u}) {
        makeDevice(width, width * 9 / 16);
        EXPECT_TRUE(wholeFrame(drawFrame())) << "back buffer " << size.width << " x " << size.height;
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        EXPECT_TRUE(wholeFrame(drawFrame())) << "second frame, " << size.width << " x " << size.height;
        device->Release();
        device = nullptr;
    }
}

TEST_F(BackBufferTest, FramesStayWholeWhileTheWindowIsResized) {
    makeDevice(0, 0);
    ASSERT_TRUE(wholeFrame(drawFrame()));
    for (const int width : {640, 1280, 960, 1280}) {
        ASSERT_TRUE(MoveWindow(window, 0, 0, width, width * 9 / 16, FALSE));
        ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        EXPECT_TRUE(wholeFrame(drawFrame())) << "window " << width << " wide";
    }
}

// An X8R8G8B8 back buffer has no alpha to keep: blending reads its alpha as 1, whatever
// alpha the clear or earlier draws wrote.
TEST_F(BackBufferTest, AnOpaqueBackBufferReadsAsOpaqueToBlending) {
    for (const UINT width : {0u, 640u}) {
        makeDevice(width, width * 9 / 16);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0x00000000, 1.0f, 0);
        drawRectangle(0, 0, 200, 100, 0x00000000);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
        device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
        drawRectangle(0, 0, 200, 200, 0x00C08040);
        velmora::Image image;
        ASSERT_TRUE(velmora::readBackBuffer(image));
        EXPECT_TRUE(colourNear(image.pixel(100, 50), 0xC0, 0x80, 0x40, 1)) << "back buffer " << size.width << " wide";
        EXPECT_TRUE(colourNear(image.pixel(100, 150), 0xC0, 0x80, 0x40, 1)) << "back buffer " << size.width << " wide";
        device->Release();
        device = nullptr;
    }
}

}  // namespace
