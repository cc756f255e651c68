#include "ModelEffect.h"

#include <cstring>
#include <string>

#include "ComRelease.h"
#include "Graphics.h"

namespace {

D3DXVECTOR4 asVector(const D3DCOLORVALUE& colour) { return D3DXVECTOR4(colour.r, colour.g, colour.b, colour.a); }

// The compiler's message; the buffer may or may not end with a terminator.
std::string bufferText(ID3DXBuffer* buffer) {
    if (!buffer) return std::string();
    const char* text = static_cast<const char*>(buffer->GetBufferPointer());
    if (!text) return std::string();
    DWORD size = buffer->GetBufferSize();
    return std::string(text, strnlen(text, size));
}

}  // namespace

ModelEffect::ModelEffect() : effect(nullptr) {}

void ModelEffect::load() {
    releaseInterface(effect);
    whiteTexture.release();

    ID3DXBuffer* errors = nullptr;
    HRESULT result = D3DXCreateEffectFromFileA(Graphics::get().device, "Shader/Sample.fx", nullptr, nullptr, 0,
                                               nullptr, &effect, &errors);
    if (FAILED(result)) {
        effect = nullptr;
        std::string message = bufferText(errors);
        releaseInterface(errors);
        MessageBoxA(nullptr, message.c_str(), "シェーダコンパイルエラー", MB_OK);
        return;
    }
    releaseInterface(errors);

    whiteTexture.create(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED);
    whiteTexture.fill(0xFFFFFFFF, 0);
}

void ModelEffect::drawMesh(const Mesh& model) {
    if (!effect) return;
    UINT passCount = 0;
    effect->SetTechnique("Tech");
    effect->Begin(&passCount, 0);
    effect->BeginPass(0);
    for (DWORD i = 0; i < model.materialCount; ++i) {
        const D3DMATERIAL9& material = model.materials[i];
        D3DXVECTOR4 diffuse = asVector(material.Diffuse);
        D3DXVECTOR4 specular = asVector(material.Specular);
        effect->SetVector("MateDiffuse", &diffuse);
        effect->SetVector("MateSpecular", &specular);
        effect->SetFloat("MateSpePower", material.Power);
        IDirect3DTexture9* picture = model.textures[i].texture ? model.textures[i].texture : whiteTexture.texture;
        effect->SetTexture("MateDiffuseTex", picture);
        effect->CommitChanges();
        model.mesh->DrawSubset(i);
    }
    effect->EndPass();
    effect->End();
}
