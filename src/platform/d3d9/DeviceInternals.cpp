#include "DeviceInternals.h"

#include "Device.h"
#include "gl/GlRenderer.h"
#include "headless/HeadlessRenderer.h"
#include "IndexBuffer.h"
#include "Texture.h"
#include "VertexBuffer.h"

namespace velmora::d3d9 {

void bindShader(IDirect3DDevice9* device, ShaderBinding* binding) {
    if (Device* ours = asDevice(device)) ours->bindShader(binding);
}

bool makeGlContextCurrent(IDirect3DDevice9* device) {
    Device* ours = asDevice(device);
    auto* gl = ours ? dynamic_cast<GlRenderer*>(&ours->renderer()) : nullptr;
    if (!gl) return false;
    gl->makeCurrent();
    return true;
}

float frameScale(IDirect3DDevice9* device) {
    Device* ours = asDevice(device);
    auto* gl = ours ? dynamic_cast<GlRenderer*>(&ours->renderer()) : nullptr;
    return gl ? gl->frameScale() : 1.0f;
}

bool alphaCoverage(IDirect3DTexture9* texture, AlphaCoverage& coverage) {
    Texture* ours = asTexture(texture);
    if (!ours) return false;
    coverage = ours->alphaCoverage();
    return true;
}

void recordSprite(IDirect3DDevice9* device, const LoggedSprite& sprite) {
    Device* ours = asDevice(device);
    if (!ours || !drawRecording()) return;
    DrawRecord record = drawLog().recycledRecord();
    record.kind = DrawKind::Sprite;
    record.insideScene = ours->insideScene();
    record.texture = sprite.texture;
    record.sprite = sprite;
    drawLog().record(std::move(record));
}

bool keepsDrawLog(IDirect3DDevice9* device) {
    Device* ours = asDevice(device);
    return ours && dynamic_cast<HeadlessRenderer*>(&ours->renderer());
}

bool createSharingTexture(IDirect3DDevice9* device, const std::shared_ptr<TexelStorage>& texels, DWORD usage,
                          D3DPOOL pool, IDirect3DTexture9** texture) {
    return asDevice(device) && SUCCEEDED(Texture::createSharing(device, texels, usage, pool, texture));
}

bool createSharingVertexBuffer(IDirect3DDevice9* device, const std::shared_ptr<BufferBytes>& bytes, DWORD usage,
                               DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer) {
    return asDevice(device) && SUCCEEDED(VertexBuffer::createSharing(device, bytes, usage, fvf, pool, buffer));
}

bool createSharingIndexBuffer(IDirect3DDevice9* device, const std::shared_ptr<BufferBytes>& bytes, DWORD usage,
                              D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer) {
    return asDevice(device) && SUCCEEDED(IndexBuffer::createSharing(device, bytes, usage, format, pool, buffer));
}

}  // namespace velmora::d3d9
