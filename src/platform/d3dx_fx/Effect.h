// ID3DXEffect over our effect format: one technique of one pass, parameters set by name
// (a handle is the parameter's name), values taking effect at BeginPass and
// CommitChanges. While its pass is on, the effect replaces the device's fixed-function
// pipeline; on the headless backend the draws record the parameters in force instead.
#pragma once

#include "ComObject.h"
#include "EffectSource.h"
#include "SavedDeviceState.h"
#include "d3d9/DeviceInternals.h"

#include <d3dx9.h>

#include <memory>
#include <vector>

namespace velmora::d3dxfx {

// The effect's GL program (gl/); none on the headless adapter.
class EffectProgram;

class Effect final : public ComObject<ID3DXEffect>, public d3d9::ShaderBinding {
public:
    // Takes the parsed source and, on the real backend, its built program.
    Effect(IDirect3DDevice9* device, EffectSource source, std::unique_ptr<EffectProgram> program);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    D3DXHANDLE STDMETHODCALLTYPE GetParameterByName(D3DXHANDLE parent, const char* name) override;
    D3DXHANDLE STDMETHODCALLTYPE GetTechniqueByName(const char* name) override;
    HRESULT STDMETHODCALLTYPE SetValue(D3DXHANDLE parameter, const void* data, UINT bytes) override;
    HRESULT STDMETHODCALLTYPE GetValue(D3DXHANDLE parameter, void* data, UINT bytes) override;
    HRESULT STDMETHODCALLTYPE SetFloat(D3DXHANDLE parameter, FLOAT f) override;
    HRESULT STDMETHODCALLTYPE GetFloat(D3DXHANDLE parameter, FLOAT* f) override;
    HRESULT STDMETHODCALLTYPE SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) override;
    HRESULT STDMETHODCALLTYPE GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) override;
    HRESULT STDMETHODCALLTYPE SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE SetMatrixTranspose(D3DXHANDLE parameter, const D3DXMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) override;
    HRESULT STDMETHODCALLTYPE GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) override;
    HRESULT STDMETHODCALLTYPE SetTechnique(D3DXHANDLE technique) override;
    D3DXHANDLE STDMETHODCALLTYPE GetCurrentTechnique() override { return source_.technique.c_str(); }
    HRESULT STDMETHODCALLTYPE Begin(UINT* passes, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE BeginPass(UINT pass) override;
    HRESULT STDMETHODCALLTYPE CommitChanges() override;
    HRESULT STDMETHODCALLTYPE EndPass() override;
    HRESULT STDMETHODCALLTYPE End() override;
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override;
    HRESULT STDMETHODCALLTYPE OnLostDevice() override { return D3D_OK; }
    HRESULT STDMETHODCALLTYPE OnResetDevice() override { return D3D_OK; }

    void parametersInForce(std::vector<LoggedEffectParameter>& out) const override;
    unsigned glProgram(D3DCMPFUNC alphaFunc) override;
    void uploadParameters() override;

private:
    ~Effect() override;

    struct Value {
        float floats[16];
        IDirect3DBaseTexture9* texture;  // referenced while set
    };

    // The index of the parameter a handle names, or -1.
    int find(D3DXHANDLE handle) const;
    // values_[index] is about to change: the next commit copies it.
    Value& changing(int index);
    void setTextureValue(Value& value, IDirect3DBaseTexture9* texture);
    // The values set since the last commit become the ones draws use; a texture set since
    // goes to its stage.
    void commit();
    DWORD textureStage(size_t parameter) const { return textureStages_[parameter]; }

    IDirect3DDevice9* device_;
    EffectSource source_;
    std::unique_ptr<EffectProgram> program_;
    std::vector<Value> values_;
    std::vector<Value> committed_;
    std::vector<DWORD> textureStages_;  // per parameter; textures only
    std::vector<char> changed_;         // per parameter: set since the last commit
    std::vector<int> pending_;          // the parameters set since the last commit
    std::vector<int> textureParameters_;
    bool begun_ = false;
    bool inPass_ = false;
    SavedDeviceState saved_;
};

}  // namespace velmora::d3dxfx
