// The device states a D3DX object changes, read before it changes them and written back
// afterwards (the state block ID3DXSprite::Begin and ID3DXEffect::Begin keep).
#pragma once

#include <d3d9.h>

#include <vector>

namespace velmora::d3dxfx {

class SavedDeviceState {
public:
    explicit SavedDeviceState(IDirect3DDevice9* device) : device_(device) {}
    ~SavedDeviceState();
    SavedDeviceState(const SavedDeviceState&) = delete;
    SavedDeviceState& operator=(const SavedDeviceState&) = delete;

    void saveRenderState(D3DRENDERSTATETYPE state);
    void saveStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type);
    void saveSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type);
    void saveTransform(D3DTRANSFORMSTATETYPE type);
    void saveFvf();
    void saveTexture(DWORD stage);

    // Writes everything back, last saved first, and forgets it.
    void restore();

private:
    enum class Kind { Render, Stage, Sampler, Transform, Fvf, Texture };
    struct Entry {
        Kind kind;
        DWORD slot;
        DWORD type;
        DWORD value;
        D3DMATRIX matrix;
        IDirect3DBaseTexture9* texture;  // referenced while saved
    };

    void forget();

    IDirect3DDevice9* device_;
    std::vector<Entry> entries_;
};

}  // namespace velmora::d3dxfx
