// The device's states: Direct3D 9's defaults, round trips, lights and the scene rules.
#include "HeadlessDeviceTest.h"

#include <cstring>

#include "velmora/DrawLog.h"

namespace {

using DeviceStateTest = HeadlessDeviceTest;

DWORD renderState(IDirect3DDevice9* device, D3DRENDERSTATETYPE state) {
    DWORD value = 0xDEADBEEF;
    EXPECT_EQ(device->GetRenderState(state, &value), D3D_OK);
    return value;
}

DWORD stageState(IDirect3DDevice9* device, DWORD stage, D3DTEXTURESTAGESTATETYPE type) {
    DWORD value = 0xDEADBEEF;
    EXPECT_EQ(device->GetTextureStageState(stage, type, &value), D3D_OK);
    return value;
}

DWORD samplerState(IDirect3DDevice9* device, DWORD sampler, D3DSAMPLERSTATETYPE type) {
    DWORD value = 0xDEADBEEF;
    EXPECT_EQ(device->GetSamplerState(sampler, type, &value), D3D_OK);
    return value;
}

bool isIdentity(const D3DMATRIX& m) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (m.m[r][c] != (r == c ? 1.0f : 0.0f)) return false;
    return true;
}

TEST_F(DeviceStateTest, StartsWithDirect3DDefaults) {
    EXPECT_EQ(renderState(device, D3DRS_LIGHTING), DWORD(TRUE));
    EXPECT_EQ(renderState(device, D3DRS_ZENABLE), DWORD(D3DZB_TRUE));
    EXPECT_EQ(renderState(device, D3DRS_ZWRITEENABLE), DWORD(TRUE));
    EXPECT_EQ(renderState(device, D3DRS_ZFUNC), DWORD(D3DCMP_LESSEQUAL));
    EXPECT_EQ(renderState(device, D3DRS_CULLMODE), DWORD(D3DCULL_CCW));
    EXPECT_EQ(renderState(device, D3DRS_ALPHABLENDENABLE), DWORD(FALSE));
    EXPECT_EQ(renderState(device, D3DRS_SRCBLEND), DWORD(D3DBLEND_ONE));
    EXPECT_EQ(renderState(device, D3DRS_DESTBLEND), DWORD(D3DBLEND_ZERO));
    EXPECT_EQ(renderState(device, D3DRS_ALPHATESTENABLE), DWORD(FALSE));
    EXPECT_EQ(renderState(device, D3DRS_ALPHAFUNC), DWORD(D3DCMP_ALWAYS));
    EXPECT_EQ(renderState(device, D3DRS_COLORWRITEENABLE), 0xFu);

    EXPECT_EQ(stageState(device, 0, D3DTSS_COLOROP), DWORD(D3DTOP_MODULATE));
    EXPECT_EQ(stageState(device, 0, D3DTSS_COLORARG1), DWORD(D3DTA_TEXTURE));
    EXPECT_EQ(stageState(device, 0, D3DTSS_COLORARG2), DWORD(D3DTA_CURRENT));
    EXPECT_EQ(stageState(device, 0, D3DTSS_ALPHAOP), DWORD(D3DTOP_SELECTARG1));
    EXPECT_EQ(stageState(device, 0, D3DTSS_ALPHAARG1), DWORD(D3DTA_TEXTURE));
    EXPECT_EQ(stageState(device, 1, D3DTSS_COLOROP), DWORD(D3DTOP_DISABLE));
    EXPECT_EQ(stageState(device, 1, D3DTSS_ALPHAOP), DWORD(D3DTOP_DISABLE));
    EXPECT_EQ(stageState(device, 3, D3DTSS_TEXCOORDINDEX), 3u);

    EXPECT_EQ(samplerState(device, 0, D3DSAMP_MINFILTER), DWORD(D3DTEXF_POINT));
    EXPECT_EQ(samplerState(device, 0, D3DSAMP_MAGFILTER), DWORD(D3DTEXF_POINT));
    EXPECT_EQ(samplerState(device, 0, D3DSAMP_MIPFILTER), DWORD(D3DTEXF_NONE));
    EXPECT_EQ(samplerState(device, 0, D3DSAMP_ADDRESSU), DWORD(D3DTADDRESS_WRAP));
    EXPECT_EQ(samplerState(device, 0, D3DSAMP_MIPMAPLODBIAS), 0u);

    for (D3DTRANSFORMSTATETYPE type : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION}) {
        D3DMATRIX m{};
        ASSERT_EQ(device->GetTransform(type, &m), D3D_OK);
        EXPECT_TRUE(isIdentity(m));
    }
    DWORD fvf = 1;
    device->GetFVF(&fvf);
    EXPECT_EQ(fvf, 0u);
}

TEST_F(DeviceStateTest, WithoutADepthBufferZIsOffAndCannotBeCleared) {
    IDirect3DDevice9* plain = nullptr;
    D3DPRESENT_PARAMETERS noDepth = windowedParameters(window);
    noDepth.EnableAutoDepthStencil = FALSE;
    ASSERT_EQ(d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window, kHardwareFlags, &noDepth, &plain), D3D_OK);
    EXPECT_EQ(renderState(plain, D3DRS_ZENABLE), DWORD(D3DZB_FALSE));
    EXPECT_EQ(plain->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(plain->Clear(0, nullptr, D3DCLEAR_STENCIL, 0, 1.0f, 0), D3DERR_INVALIDCALL);
    EXPECT_EQ(plain->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0), D3D_OK);
    plain->Release();
}

TEST_F(DeviceStateTest, StatesRoundTripAndRefuseUnknownSlots) {
    ASSERT_EQ(device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE), D3D_OK);
    EXPECT_EQ(renderState(device, D3DRS_CULLMODE), DWORD(D3DCULL_NONE));
    float bias = -1.0f;
    DWORD bits;
    std::memcpy(&bits, &bias, sizeof bits);
    ASSERT_EQ(device->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, bits), D3D_OK);
    EXPECT_EQ(samplerState(device, 0, D3DSAMP_MIPMAPLODBIAS), bits);
    ASSERT_EQ(device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE), D3D_OK);
    EXPECT_EQ(stageState(device, 0, D3DTSS_ALPHAOP), DWORD(D3DTOP_MODULATE));

    D3DMATRIX view{};
    view._11 = view._22 = view._33 = view._44 = 2.0f;
    view._43 = 5.0f;
    ASSERT_EQ(device->SetTransform(D3DTS_VIEW, &view), D3D_OK);
    D3DMATRIX back{};
    device->GetTransform(D3DTS_VIEW, &back);
    EXPECT_EQ(std::memcmp(&view, &back, sizeof view), 0);
    D3DMATRIX world{};
    device->GetTransform(D3DTS_WORLD, &world);
    EXPECT_TRUE(isIdentity(world));

    DWORD value;
    EXPECT_EQ(device->SetTransform(D3DTS_TEXTURE0, &view), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetTextureStageState(8, D3DTSS_COLOROP, D3DTOP_DISABLE), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetSamplerState(16, D3DSAMP_MINFILTER, &value), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->SetRenderState(D3DRENDERSTATETYPE(5000), 1), D3DERR_INVALIDCALL);
}

TEST_F(DeviceStateTest, ViewportMustLieInTheBackBuffer) {
    D3DVIEWPORT9 inside = {100, 50, 640, 360, 0.25f, 0.75f};
    ASSERT_EQ(device->SetViewport(&inside), D3D_OK);
    D3DVIEWPORT9 back{};
    device->GetViewport(&back);
    EXPECT_EQ(std::memcmp(&inside, &back, sizeof inside), 0);

    D3DVIEWPORT9 tooWide = {700, 0, 640, 360, 0.0f, 1.0f};
    EXPECT_EQ(device->SetViewport(&tooWide), D3DERR_INVALIDCALL);
    D3DVIEWPORT9 badDepth = {0, 0, 640, 360, 0.5f, 0.25f};
    EXPECT_EQ(device->SetViewport(&badDepth), D3DERR_INVALIDCALL);
    device->GetViewport(&back);
    EXPECT_EQ(std::memcmp(&inside, &back, sizeof inside), 0);
}

TEST_F(DeviceStateTest, LightsFollowTheRuntimeRules) {
    D3DLIGHT9 light{};
    EXPECT_EQ(device->GetLight(0, &light), D3DERR_INVALIDCALL);
    BOOL enabled = TRUE;
    EXPECT_EQ(device->GetLightEnable(0, &enabled), D3DERR_INVALIDCALL);

    // Enabling a light never set creates the default: white, directional, along +z.
    ASSERT_EQ(device->LightEnable(3, TRUE), D3D_OK);
    ASSERT_EQ(device->GetLight(3, &light), D3D_OK);
    EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
    EXPECT_EQ(light.Diffuse.r, 1.0f);
    EXPECT_EQ(light.Diffuse.g, 1.0f);
    EXPECT_EQ(light.Diffuse.b, 1.0f);
    EXPECT_EQ(light.Specular.r, 0.0f);
    EXPECT_EQ(light.Direction.z, 1.0f);
    ASSERT_EQ(device->GetLightEnable(3, &enabled), D3D_OK);
    EXPECT_EQ(enabled, TRUE);

    D3DLIGHT9 set{};
    set.Type = D3DLIGHT_DIRECTIONAL;
    set.Diffuse = {0.5f, 0.25f, 1.0f, 1.0f};
    set.Direction = {0.0f, -1.0f, 0.0f};
    ASSERT_EQ(device->SetLight(0, &set), D3D_OK);
    ASSERT_EQ(device->GetLight(0, &light), D3D_OK);
    EXPECT_EQ(std::memcmp(&set, &light, sizeof set), 0);
    ASSERT_EQ(device->GetLightEnable(0, &enabled), D3D_OK);
    EXPECT_EQ(enabled, FALSE);  // setting a light does not enable it

    set.Type = D3DLIGHTTYPE(7);
    EXPECT_EQ(device->SetLight(1, &set), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->GetLight(1, &light), D3DERR_INVALIDCALL);
}

TEST_F(DeviceStateTest, ScenesDoNotNestAndPresentWaitsForTheEnd) {
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->BeginScene(), D3D_OK);
    EXPECT_EQ(device->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    ASSERT_EQ(device->EndScene(), D3D_OK);
    EXPECT_EQ(device->EndScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(velmora::drawLog().presentCount(), 1u);
}

TEST_F(DeviceStateTest, BoundResourcesAreHeldByTheDevice) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    ASSERT_EQ(device->SetTexture(0, texture), D3D_OK);
    EXPECT_EQ(texture->Release(), 1u);  // the device's reference keeps it
    IDirect3DBaseTexture9* bound = nullptr;
    ASSERT_EQ(device->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, texture);
    EXPECT_EQ(bound->Release(), 1u);
    ASSERT_EQ(device->SetTexture(0, nullptr), D3D_OK);  // and lets it go when unbound
    ASSERT_EQ(device->GetTexture(0, &bound), D3D_OK);
    EXPECT_EQ(bound, nullptr);
}

}  // namespace
