#include "DeviceInternals.h"

#include "Device.h"
#include "GlRenderer.h"
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

bool textureIsOpaque(IDirect3DBaseTexture9* texture) {
    if (!texture) return true;
    const Texture* ours = asTexture(texture);
    return ours && ours->opaque();
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

bool shareTexels(IDirect3DTexture9* texture, const std::shared_ptr<TexelStorage>& texels) {
    Texture* ours = asTexture(texture);
    return ours && ours->share(texels);
}

bool shareBufferBytes(IDirect3DVertexBuffer9* buffer, const std::shared_ptr<BufferBytes>& bytes) {
    VertexBuffer* ours = asVertexBuffer(buffer);
    return ours && ours->storage().share(bytes);
}

bool shareBufferBytes(IDirect3DIndexBuffer9* buffer, const std::shared_ptr<BufferBytes>& bytes) {
    IndexBuffer* ours = asIndexBuffer(buffer);
    return ours && ours->storage().share(bytes);
}

}  // namespace velmora::d3d9
