// Effect files: D3DXCreateEffectFromFileA on the headless device runs the parser and
// checker of our effect format; a file that passes gives an effect whose parameters and
// technique are then used the way drawMesh uses them.
#include <d3dx9.h>

#include <cstdint>
#include <cstdlib>

#include "FuzzInputFile.h"
#include "FuzzDevice.h"

namespace {

void useEffect(ID3DXEffect* effect) {
    const D3DXMATRIX identity(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1);
    const D3DXVECTOR4 colour(1.0f, 0.5f, 0.25f, 1.0f);
    effect->SetMatrix("mW", &identity);
    effect->SetVector("MateDiffuse", &colour);
    effect->SetFloat("MateSpePower", 8.0f);
    effect->SetTexture("MateDiffuseTex", nullptr);
    effect->SetTechnique(effect->GetCurrentTechnique());
    UINT passes = 0;
    if (SUCCEEDED(effect->Begin(&passes, 0))) {
        if (SUCCEEDED(effect->BeginPass(0))) {
            effect->CommitChanges();
            effect->EndPass();
        }
        effect->End();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile input("input.fx");
    IDirect3DDevice9* device = fuzzDevice();
    const char* path = input.write(data, size);

    ID3DXEffect* effect = nullptr;
    ID3DXBuffer* errors = nullptr;
    const HRESULT hr = D3DXCreateEffectFromFileA(device, path, nullptr, nullptr, 0, nullptr, &effect, &errors);
    if (SUCCEEDED(hr) != (effect != nullptr)) std::abort();
    if (errors) {
        // The error text is a string the game shows as it is.
        const char* text = static_cast<const char*>(errors->GetBufferPointer());
        const DWORD bytes = errors->GetBufferSize();
        if (bytes == 0 || text[bytes - 1] != '\0') std::abort();
        errors->Release();
    }
    if (effect) {
        useEffect(effect);
        effect->Release();
    }
    return 0;
}
