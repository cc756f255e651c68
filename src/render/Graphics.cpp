#include "Graphics.h"

#include <cstring>

#include "ComRelease.h"

namespace {

const DWORD kCreateFlagsCommon = D3DCREATE_MULTITHREADED | D3DCREATE_FPU_PRESERVE;

DWORD floatBits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

}  // namespace

Graphics& Graphics::get() {
    static Graphics graphics;
    return graphics;
}

Graphics::Graphics() : d3d(nullptr), device(nullptr), sprite(nullptr) {
    ZeroMemory(&presentParams, sizeof(presentParams));
}

bool Graphics::init(HWND window, int width, int height, D3DFORMAT fullScreenFormat, bool fullScreen) {
    d3d = Direct3DCreate9(D3D_SDK_VERSION);
    if (!d3d) return false;

    D3DDISPLAYMODE mode;
    if (FAILED(d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) return false;

    // A windowed device takes its back-buffer size from the window's client area.
    ZeroMemory(&presentParams, sizeof(presentParams));
    presentParams.BackBufferWidth = fullScreen ? width : 0;
    presentParams.BackBufferHeight = fullScreen ? height : 0;
    presentParams.BackBufferFormat = fullScreen ? fullScreenFormat : mode.Format;
    presentParams.BackBufferCount = 2;
    presentParams.MultiSampleType = D3DMULTISAMPLE_NONE;
    presentParams.MultiSampleQuality = 0;
    presentParams.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentParams.hDeviceWindow = window;
    presentParams.Windowed = fullScreen ? FALSE : TRUE;
    presentParams.EnableAutoDepthStencil = TRUE;
    presentParams.AutoDepthStencilFormat = D3DFMT_D24S8;
    presentParams.Flags = 0;
    presentParams.FullScreen_RefreshRateInHz = 0;
    presentParams.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

    // Hardware vertex processing first, then software on the same adapter, then the
    // reference rasteriser.
    const struct {
        D3DDEVTYPE type;
        DWORD flags;
    } attempts[] = {
        {D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING | kCreateFlagsCommon},
        {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING | kCreateFlagsCommon},
        {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING | kCreateFlagsCommon},
    };
    bool created = false;
    for (const auto& attempt : attempts) {
        if (SUCCEEDED(d3d->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, window, attempt.flags, &presentParams,
                                        &device))) {
            created = true;
            break;
        }
    }
    if (!created) {
        MessageBoxA(window, "Direct3Dの初期化に失敗", "Direct3D初期化", MB_OK | MB_ICONERROR);
        return false;
    }

    D3DXCreateSprite(device, &sprite);
    return true;
}

void Graphics::setDefaultStates() {
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZWRITEENABLE, TRUE);
    device->SetRenderState(D3DRS_STENCILENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_BLENDOP, D3DBLENDOP_ADD);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_NORMALIZENORMALS, TRUE);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_SEPARATEALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_BLENDOPALPHA, D3DBLENDOP_ADD);
    device->SetRenderState(D3DRS_SRCBLENDALPHA, D3DBLEND_ONE);
    device->SetRenderState(D3DRS_DESTBLENDALPHA, D3DBLEND_INVSRCALPHA);

    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);

    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
    device->SetSamplerState(0, D3DSAMP_MIPMAPLODBIAS, floatBits(-1.0f));

    // A default light until a play sets its own.
    D3DLIGHT9 light;
    ZeroMemory(&light, sizeof(light));
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse.r = light.Diffuse.g = light.Diffuse.b = light.Diffuse.a = 1.0f;
    light.Ambient.a = 1.0f;
    light.Specular.r = light.Specular.g = light.Specular.b = light.Specular.a = 1.0f;
    D3DXVECTOR3 direction(0.5f, -1.0f, 0.3f);
    D3DXVec3Normalize(&direction, &direction);
    light.Direction = direction;
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);

    device->SetRenderState(D3DRS_SPECULARENABLE, TRUE);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
}

void Graphics::setDirectionalLight(DWORD index, const D3DXVECTOR3* direction, const D3DCOLORVALUE* diffuse,
                                   const D3DCOLORVALUE* ambient, const D3DCOLORVALUE* specular) {
    D3DLIGHT9 light;
    ZeroMemory(&light, sizeof(light));
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = *diffuse;
    light.Specular = *specular;
    light.Ambient = *ambient;
    D3DXVECTOR3 normalised;
    D3DXVec3Normalize(&normalised, direction);
    light.Direction = normalised;
    device->SetLight(index, &light);
    device->LightEnable(index, TRUE);
}

D3DLIGHT9* Graphics::getLight(D3DLIGHT9* out, DWORD index) {
    device->GetLight(index, out);
    return out;
}

void Graphics::release() {
    releaseInterface(sprite);
    releaseInterface(device);
    releaseInterface(d3d);
}

void Graphics::drawSprite(const Texture* picture, D3DCOLOR colour, const D3DXMATRIX* transform) {
    if (!picture) return;
    if (transform) sprite->SetTransform(transform);
    sprite->Draw(picture->texture, &picture->rect, nullptr, nullptr, colour);
}
