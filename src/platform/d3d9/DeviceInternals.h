// What the D3DX sprite and effect need from the device beyond the Direct3D 9 API: an
// effect pass replaces the fixed-function pipeline with its own program, and the headless
// backend records sprites as sprites. Included by path from src/platform/d3dx_fx.
#pragma once

#include "BufferStorage.h"
#include "DeviceState.h"
#include "TexelStorage.h"
#include "velmora/DrawLog.h"

#include <d3d9.h>

#include <memory>
#include <vector>

namespace velmora::d3d9 {

// An effect pass as the device sees it while it is bound.
class ShaderBinding {
public:
    virtual ~ShaderBinding() = default;
    // Headless: the parameter values in force, for the draw log.
    virtual void parametersInForce(std::vector<LoggedEffectParameter>& out) const = 0;
    // Real backend: the linked GL program for draws with this alpha-test function
    // (D3DCMP_ALWAYS while the test is off; 0 when it cannot be built), and the upload of the
    // parameters into the program last asked for, once it is in use. The program's vertex
    // stage reads position, normal, diffuse colour and the first texture coordinate at
    // attribute locations 0, 1, 2 and 3; its samplers read the device's texture stages.
    virtual unsigned glProgram(D3DCMPFUNC alphaFunc) = 0;
    virtual void uploadParameters() = 0;
};

// Draws made while a binding is set use it instead of the fixed-function pipeline; null
// goes back to fixed function. The device does not own the binding.
void bindShader(IDirect3DDevice9* device, ShaderBinding* binding);

// Real backend: makes the device's GL context current (before compiling or deleting an
// effect's program); false for a headless device.
bool makeGlContextCurrent(IDirect3DDevice9* device);

// Drawn pixels per pixel of the back buffer: 1 unless the frame is drawn larger than the
// back buffer's size (GL at a render scale or the window's own size).
float frameScale(IDirect3DDevice9* device);

// What the alpha of a texture's top level lets through; false for a texture not ours.
bool alphaCoverage(IDirect3DTexture9* texture, AlphaCoverage& coverage);

// Headless: records one sprite draw with the device's scene state.
void recordSprite(IDirect3DDevice9* device, const LoggedSprite& sprite);

// A headless device: it draws nothing and keeps the draw log, where sprites go as sprites.
bool keepsDrawLog(IDirect3DDevice9* device);

// D3DX: a new texture of the device that reads texels prepared once for a picture file,
// without a copy of its own until it is locked (so that a thousand loads of one picture
// neither keep nor make a thousand copies). False, with nothing made, when the device is
// not ours or refuses the texels; the caller then creates and fills a texture itself.
bool createSharingTexture(IDirect3DDevice9* device, const std::shared_ptr<TexelStorage>& texels, DWORD usage,
                          D3DPOOL pool, IDirect3DTexture9** texture);

// D3DX: the same for the vertex and index buffers of a mesh, with bytes prepared once for
// a mesh file.
bool createSharingVertexBuffer(IDirect3DDevice9* device, const std::shared_ptr<BufferBytes>& bytes, DWORD usage,
                               DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer);
bool createSharingIndexBuffer(IDirect3DDevice9* device, const std::shared_ptr<BufferBytes>& bytes, DWORD usage,
                              D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer);

}  // namespace velmora::d3d9
