// The OpenGL renderer draws what Direct3D 9 would: clears, vertex colours, textures,
// blending, depth order, culling by on-screen winding, and a back buffer that keeps its
// image until the next Present.
#include "DisplayDeviceFixture.h"

#include <cstring>

using namespace d3d9test;

namespace {

struct ColourVertex {
    float x, y, z;
    D3DCOLOR color;
    float u, v;
};
const DWORD kFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX1;

// A rectangle in pixels, corners in the game's quad order: top-left, top-right,
// bottom-right, bottom-left (clockwise on screen).
void rectangle(ColourVertex out[4], float left, float top, float right, float bottom, float z, D3DCOLOR color) {
    out[0] = {left, top, z, color, 0, 0};
    out[1] = {right, top, z, color, 1, 0};
    out[2] = {right, bottom, z, color, 1, 1};
    out[3] = {left, bottom, z, color, 0, 1};
}

void drawRectangle(IDirect3DDevice9* device, float left, float top, float right, float bottom, float z,
                   D3DCOLOR color) {
    ColourVertex quad[4];
    rectangle(quad, left, top, right, bottom, z, color);
    device->SetFVF(kFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(ColourVertex)), D3D_OK);
}

TEST_F(DisplayDeviceTest, ClearFillsTheViewportOnly) {
    ASSERT_EQ(device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF336699, 1.0f, 0), D3D_OK);
    D3DVIEWPORT9 right = {640, 360, 640, 360, 0.0f, 1.0f};
    device->SetViewport(&right);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
    expectExactPixels(readBack(), {{0, 0, 0x33, 0x66, 0x99},
                                   {639, 719, 0x33, 0x66, 0x99},
                                   {640, 360, 255, 0, 0},
                                   {1279, 719, 255, 0, 0},
                                   {1279, 359, 0x33, 0x66, 0x99}});
}

TEST_F(DisplayDeviceTest, TheScissorRectangleClipsClearsAndDrawsAndAnEmptyOneLetsNothingThrough) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    const RECT inside = {100, 50, 200, 150}, nothing = {0, 0, 0, 0};
    ASSERT_EQ(device->SetScissorRect(&inside), D3D_OK);
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFF0000, 1.0f, 0);
    device->BeginScene();
    drawRectangle(device, 150, 0, 400, 100, 0.5f, 0xFF00FF00);
    device->EndScene();
    ASSERT_EQ(device->SetScissorRect(&nothing), D3D_OK);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    drawRectangle(device, 0, 0, 1280, 720, 0.5f, 0xFFFFFFFF);
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    expectExactPixels(readBack(), {{100, 50, 255, 0, 0},
                                   {199, 149, 255, 0, 0},
                                   {150, 50, 0, 255, 0},
                                   {199, 99, 0, 255, 0},
                                   {200, 50, 0, 0, 0},
                                   {150, 49, 0, 0, 0},
                                   {99, 149, 0, 0, 0}});
}

TEST_F(DisplayDeviceTest, VertexColoursFillExactPixelRectangles) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->BeginScene();
    // Through the sprite's half-pixel projection, a rectangle from 100 to 110 covers exactly
    // pixels 100..109, as on Direct3D 9.
    drawRectangle(device, 100, 50, 110, 60, 0.5f, 0xFF20C040);
    device->EndScene();
    expectExactPixels(readBack(), {{100, 50, 0x20, 0xC0, 0x40},
                                   {109, 59, 0x20, 0xC0, 0x40},
                                   {99, 50, 0, 0, 0},
                                   {110, 50, 0, 0, 0},
                                   {100, 49, 0, 0, 0},
                                   {100, 60, 0, 0, 0}});
}

TEST_F(DisplayDeviceTest, CullModesJudgeTheWindingOnScreen) {
    ColourVertex clockwise[3] = {{100, 100, 0.5f, 0xFFFFFFFF, 0, 0},
                                 {200, 100, 0.5f, 0xFFFFFFFF, 0, 0},
                                 {100, 200, 0.5f, 0xFFFFFFFF, 0, 0}};
    ColourVertex counterClockwise[3] = {{300, 100, 0.5f, 0xFFFFFFFF, 0, 0},
                                        {300, 200, 0.5f, 0xFFFFFFFF, 0, 0},
                                        {400, 100, 0.5f, 0xFFFFFFFF, 0, 0}};
    const struct {
        D3DCULL mode;
        bool clockwiseShown;
        bool counterClockwiseShown;
    } cases[] = {{D3DCULL_CCW, true, false}, {D3DCULL_CW, false, true}, {D3DCULL_NONE, true, true}};
    for (const auto& c : cases) {
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        device->SetRenderState(D3DRS_CULLMODE, c.mode);
        device->SetFVF(kFvf);
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, clockwise, sizeof(ColourVertex));
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, counterClockwise, sizeof(ColourVertex));
        velmora::Image image = readBack();
        EXPECT_EQ(image.pixel(120, 120).r == 255, c.clockwiseShown) << "cull mode " << c.mode;
        EXPECT_EQ(image.pixel(320, 120).r == 255, c.counterClockwiseShown) << "cull mode " << c.mode;
    }
}

TEST_F(DisplayDeviceTest, NearerSurfacesWinUnlessDepthWritesAreOff) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    drawRectangle(device, 100, 100, 300, 300, 0.2f, 0xFFFF0000);  // near, drawn first
    drawRectangle(device, 200, 200, 400, 400, 0.6f, 0xFF0000FF);  // far, drawn later
    velmora::Image image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(250, 250), 255, 0, 0, 0));
    EXPECT_TRUE(colourNear(image.pixel(350, 350), 0, 0, 255, 0));

    // An effect quad does not write depth: what comes after it at any depth covers it.
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
    drawRectangle(device, 100, 100, 300, 300, 0.2f, 0xFFFF0000);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    drawRectangle(device, 200, 200, 400, 400, 0.6f, 0xFF0000FF);
    image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(250, 250), 0, 0, 255, 0));
}

TEST_F(DisplayDeviceTest, PerspectiveDepthUsesTheDirect3DRange) {
    // A perspective projection with z/w in 0..1: a surface just inside the near plane and
    // one just inside the far plane are both drawn, the near one in front.
    const float zn = 1.0f, zf = 100.0f;
    D3DMATRIX projection{};
    projection._11 = 1.0f / 1.7777778f;
    projection._22 = 1.0f;
    projection._33 = zf / (zf - zn);
    projection._34 = 1.0f;
    projection._43 = -zn * zf / (zf - zn);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    ColourVertex farQuad[4], nearQuad[4];
    rectangle(farQuad, -170, 90, 170, -90, 99.0f, 0xFF0000FF);
    rectangle(nearQuad, -0.5f, 0.5f, 0.5f, -0.5f, 1.01f, 0xFFFF0000);
    device->SetFVF(kFvf);
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, nearQuad, sizeof(ColourVertex));
    device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, farQuad, sizeof(ColourVertex));
    velmora::Image image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(640, 360), 255, 0, 0, 0));
    EXPECT_TRUE(colourNear(image.pixel(100, 360), 0, 0, 255, 0));
}

TEST_F(DisplayDeviceTest, TexturesModulateTheVertexColour) {
    // Top row red, green; bottom row blue, white. The fourth byte is ignored (X8).
    const DWORD texels[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00FFFFFF};
    IDirect3DTexture9* texture = nullptr;
    ASSERT_NO_FATAL_FAILURE(makeTexture2x2(D3DFMT_X8R8G8B8, texels, &texture));

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->SetTexture(0, texture);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    drawRectangle(device, 100, 100, 300, 300, 0.5f, 0xFF808080);  // point sampling by default
    velmora::Image image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(120, 120), 128, 0, 0));
    EXPECT_TRUE(colourNear(image.pixel(280, 120), 0, 128, 0));
    EXPECT_TRUE(colourNear(image.pixel(120, 280), 0, 0, 128));
    EXPECT_TRUE(colourNear(image.pixel(280, 280), 128, 128, 128));

    // Rewriting the texels after a draw shows up in the next draw.
    D3DLOCKED_RECT locked{};
    texture->LockRect(0, &locked, nullptr, 0);
    static_cast<DWORD*>(locked.pBits)[0] = 0x00FFFF00;
    texture->UnlockRect(0);
    drawRectangle(device, 100, 100, 300, 300, 0.5f, 0xFFFFFFFF);
    image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(120, 120), 255, 255, 0, 0));

    // Without a texture the stage reads white: the vertex colour shows.
    device->SetTexture(0, nullptr);
    drawRectangle(device, 100, 100, 300, 300, 0.5f, 0x7DFF0000);
    image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(200, 200), 255, 0, 0, 0));
    texture->Release();
}

TEST_F(DisplayDeviceTest, AlphaBlendingAndAlphaTest) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    drawRectangle(device, 0, 0, 200, 200, 0.5f, 0x80FF0000);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->SetRenderState(D3DRS_ALPHAREF, 0);
    drawRectangle(device, 300, 0, 500, 200, 0.5f, 0x00FFFFFF);  // alpha 0: discarded
    velmora::Image image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(100, 100), 128, 0, 127));
    EXPECT_TRUE(colourNear(image.pixel(400, 100), 0, 0, 255, 0));
}

// A quad whose every fragment the alpha test throws away leaves colour and depth as they
// were; one the test lets through writes, even where blending makes it invisible.
TEST_F(DisplayDeviceTest, AlphaTestedQuadsWriteOnlyWhatPassesTheTest) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    // A see-through quad in front, then an opaque red one behind it.
    auto redShowsBehind = [&](DWORD func, DWORD ref, DWORD alphaArg, D3DCOLOR front) {
        device->SetRenderState(D3DRS_ALPHAFUNC, func);
        device->SetRenderState(D3DRS_ALPHAREF, ref);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, alphaArg);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
        drawRectangle(device, 0, 0, 400, 400, 0.2f, front);
        device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_ALWAYS);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        drawRectangle(device, 0, 0, 400, 400, 0.5f, 0xFFFF0000);
        const velmora::Rgba shown = readBack().pixel(200, 200);
        return shown.r == 255 && shown.g == 0 && shown.b == 0;
    };
    EXPECT_TRUE(redShowsBehind(D3DCMP_GREATER, 0, D3DTA_DIFFUSE, 0x00FFFFFF));
    EXPECT_TRUE(redShowsBehind(D3DCMP_NOTEQUAL, 0, D3DTA_DIFFUSE, 0x00FFFFFF));
    EXPECT_TRUE(redShowsBehind(D3DCMP_GREATEREQUAL, 1, D3DTA_DIFFUSE | D3DTA_ALPHAREPLICATE, 0x00FFFFFF));
    // Passed by the test: invisible, but its depth hides the red quad.
    EXPECT_FALSE(redShowsBehind(D3DCMP_LESS, 10, D3DTA_DIFFUSE, 0x00FFFFFF));
    EXPECT_FALSE(redShowsBehind(D3DCMP_GREATEREQUAL, 0, D3DTA_DIFFUSE, 0x00FFFFFF));
    // The complemented vertex alpha is 1: drawn, white.
    EXPECT_FALSE(redShowsBehind(D3DCMP_GREATER, 0, D3DTA_DIFFUSE | D3DTA_COMPLEMENT, 0x00FFFFFF));
    EXPECT_TRUE(colourNear(readBack().pixel(200, 200), 255, 255, 255, 0));

    // One corner with alpha: of the fan's two triangles the one without it is thrown away,
    // the other passes where its alpha is above 0.
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATER);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
    ColourVertex quad[4];
    rectangle(quad, 0, 0, 400, 400, 0.2f, 0x00FFFFFF);
    quad[3].color = 0xFFFFFFFF;
    device->SetFVF(kFvf);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(ColourVertex)), D3D_OK);
    velmora::Image image = readBack();
    EXPECT_GT(image.pixel(10, 390).r, 200);
    EXPECT_TRUE(colourNear(image.pixel(390, 10), 0, 0, 255, 0));
}

TEST_F(DisplayDeviceTest, FixedFunctionLightingUsesDirectionalLightsAndTheMaterial) {
    struct NormalVertex {
        float x, y, z;
        float nx, ny, nz;
    };
    NormalVertex quad[4] = {{100, 100, 0.5f, 0, 0, -1},
                            {300, 100, 0.5f, 0, 0, -1},
                            {300, 300, 0.5f, 0, 0, -1},
                            {100, 300, 0.5f, 0, 0, -1}};
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    light.Direction = {0.0f, 0.0f, 1.0f};  // straight onto the quad
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);
    D3DMATERIAL9 material{};
    material.Diffuse = {0.5f, 0.25f, 1.0f, 1.0f};
    device->SetMaterial(&material);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_NORMAL);
    ASSERT_EQ(device->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, quad, sizeof(NormalVertex)), D3D_OK);
    velmora::Image image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(200, 200), 128, 64, 255));
}

TEST_F(DisplayDeviceTest, DrawsAfterEndSceneReachTheImageTheNextPresentShows) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->BeginScene();
    drawRectangle(device, 0, 0, 100, 100, 0.5f, 0xFFFF0000);
    device->EndScene();
    drawRectangle(device, 200, 0, 300, 100, 0.5f, 0xFF00FF00);  // from the next frame's update
    velmora::Image image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(50, 50), 255, 0, 0, 0));
    EXPECT_TRUE(colourNear(image.pixel(250, 50), 0, 255, 0, 0));
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(250, 50), 0, 255, 0, 0));
    EXPECT_TRUE(velmora::writePng(image, screenshotPath("d3d9_after_present")));
}

TEST_F(DisplayDeviceTest, IndexedDrawsReadTheBuffersWithTheBaseVertex) {
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(8 * sizeof(ColourVertex), 0, kFvf, D3DPOOL_MANAGED, &vertices, nullptr),
              D3D_OK);
    ASSERT_EQ(device->CreateIndexBuffer(6 * sizeof(WORD), 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr),
              D3D_OK);
    void* data = nullptr;
    vertices->Lock(0, 0, &data, 0);
    auto* v = static_cast<ColourVertex*>(data);
    rectangle(v, 0, 0, 100, 100, 0.5f, 0xFFFF0000);
    rectangle(v + 4, 500, 300, 600, 400, 0.5f, 0xFF00FF00);
    vertices->Unlock();
    indices->Lock(0, 0, &data, 0);
    const WORD quad[6] = {0, 1, 2, 0, 2, 3};
    std::memcpy(data, quad, sizeof quad);
    indices->Unlock();

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->SetFVF(kFvf);
    device->SetStreamSource(0, vertices, 0, sizeof(ColourVertex));
    device->SetIndices(indices);
    ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 4, 0, 4, 0, 2), D3D_OK);
    velmora::Image image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(550, 350), 0, 255, 0, 0));
    EXPECT_TRUE(colourNear(image.pixel(50, 50), 0, 0, 0, 0));
    device->SetStreamSource(0, nullptr, 0, 0);
    device->SetIndices(nullptr);
    vertices->Release();
    indices->Release();
}

}  // namespace
