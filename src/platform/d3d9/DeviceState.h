// Everything a Direct3D 9 device remembers between calls, starting from the runtime's
// documented defaults. The device owns one; the renderers read it at each draw.
#pragma once

#include <d3d9.h>

#include <array>
#include <map>

namespace velmora::d3d9 {

inline constexpr DWORD kRenderStateCount = 210;  // one past D3DRS_BLENDOPALPHA
inline constexpr DWORD kTextureStageCount = 8;
inline constexpr DWORD kStageStateCount = 33;    // one past D3DTSS_CONSTANT
inline constexpr DWORD kSamplerCount = 16;
inline constexpr DWORD kSamplerStateCount = 14;  // one past D3DSAMP_DMAPOFFSET

struct LightSlot {
    D3DLIGHT9 light;
    bool enabled;
};

struct StreamSource {
    IDirect3DVertexBuffer9* buffer = nullptr;
    UINT offset = 0;
    UINT stride = 0;
};

struct DeviceState {
    // Defaults for a device whose back buffer is width x height, with or without an
    // automatic depth buffer (ZENABLE defaults to TRUE only with one).
    DeviceState(UINT backBufferWidth, UINT backBufferHeight, bool depthBuffer);

    std::array<DWORD, kRenderStateCount> renderStates{};
    std::array<std::array<DWORD, kStageStateCount>, kTextureStageCount> stageStates{};
    std::array<std::array<DWORD, kSamplerStateCount>, kSamplerCount> samplerStates{};
    D3DMATRIX world;
    D3DMATRIX view;
    D3DMATRIX projection;
    D3DVIEWPORT9 viewport;
    RECT scissorRect;  // in use while D3DRS_SCISSORTESTENABLE is TRUE
    D3DMATERIAL9 material{};
    std::map<DWORD, LightSlot> lights;
    DWORD fvf = 0;
    // Bound resources are referenced by the device while bound (AddRef on bind).
    std::array<IDirect3DBaseTexture9*, kTextureStageCount> textures{};
    StreamSource stream0;
    IDirect3DIndexBuffer9* indices = nullptr;

    DWORD renderState(D3DRENDERSTATETYPE state) const { return renderStates[state]; }
    DWORD stageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) const { return stageStates[stage][type]; }
    DWORD samplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) const { return samplerStates[sampler][type]; }
};

D3DMATRIX identityMatrix();

}  // namespace velmora::d3d9
