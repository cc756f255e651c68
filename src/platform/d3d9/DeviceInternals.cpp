#include "DeviceInternals.h"

#include "Device.h"
#include "GlRenderer.h"
#include "Texture.h"

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

}  // namespace velmora::d3d9
