#include "Effect.h"

#include "gl/EffectProgram.h"

#include <epoxy/gl.h>

#include <cstring>

namespace velmora::d3dxfx {

Effect::Effect(IDirect3DDevice9* device, EffectSource source, std::unique_ptr<EffectProgram> program)
    : device_(device),
      source_(std::move(source)),
      program_(std::move(program)),
      values_(source_.parameters.size(), Value{{}, nullptr}),
      committed_(values_),
      textureStages_(source_.parameters.size(), 0),
      changed_(source_.parameters.size(), 0),
      saved_(device) {
    device_->AddRef();
    pending_.reserve(source_.parameters.size());
    DWORD stage = 0;
    for (size_t i = 0; i < source_.parameters.size(); ++i)
        if (source_.parameters[i].type == EffectParameterType::Texture) {
            textureStages_[i] = stage++;
            textureParameters_.push_back(int(i));
        }
}

unsigned Effect::glProgram(D3DCMPFUNC alphaFunc) { return program_ ? program_->select(alphaFunc) : 0; }

Effect::~Effect() {
    if (inPass_) d3d9::bindShader(device_, nullptr);
    saved_.restore();
    for (auto* list : {&values_, &committed_})
        for (Value& value : *list)
            if (value.texture) value.texture->Release();
    if (program_ && d3d9::makeGlContextCurrent(device_)) program_.reset();
    device_->Release();
}

HRESULT Effect::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (sameGuid(riid, IID_IUnknown)) {
        ComObject<ID3DXEffect>::AddRef();
        *object = static_cast<IUnknown*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

int Effect::find(D3DXHANDLE handle) const {
    if (!handle) return -1;
    // strcmp stops at the first letter that differs; std::string's == would measure the
    // handle's length first, and every draw looks up several names.
    for (size_t i = 0; i < source_.parameters.size(); ++i)
        if (std::strcmp(source_.parameters[i].name.c_str(), handle) == 0) return int(i);
    return -1;
}

Effect::Value& Effect::changing(int index) {
    if (!changed_[index]) {
        changed_[index] = 1;
        pending_.push_back(index);
    }
    return values_[index];
}

D3DXHANDLE Effect::GetParameterByName(D3DXHANDLE parent, const char* name) {
    if (parent) return nullptr;  // parameters have no members
    const int index = find(name);
    return index < 0 ? nullptr : source_.parameters[index].name.c_str();
}

D3DXHANDLE Effect::GetTechniqueByName(const char* name) {
    return name && source_.technique == name ? source_.technique.c_str() : nullptr;
}

HRESULT Effect::SetTechnique(D3DXHANDLE technique) {
    return technique && source_.technique == technique ? D3D_OK : D3DERR_INVALIDCALL;
}

void Effect::setTextureValue(Value& value, IDirect3DBaseTexture9* texture) {
    if (texture == value.texture) return;
    if (texture) texture->AddRef();
    if (value.texture) value.texture->Release();
    value.texture = texture;
}

HRESULT Effect::SetValue(D3DXHANDLE parameter, const void* data, UINT bytes) {
    const int index = find(parameter);
    if (index < 0 || !data) return D3DERR_INVALIDCALL;
    const EffectParameterType type = source_.parameters[index].type;
    if (type == EffectParameterType::Texture) {
        if (bytes != sizeof(IDirect3DBaseTexture9*)) return D3DERR_INVALIDCALL;
        IDirect3DBaseTexture9* texture;
        std::memcpy(&texture, data, sizeof texture);
        setTextureValue(changing(index), texture);
        return D3D_OK;
    }
    if (bytes > floatCount(type) * sizeof(float)) return D3DERR_INVALIDCALL;
    std::memcpy(changing(index).floats, data, bytes);
    return D3D_OK;
}

HRESULT Effect::GetValue(D3DXHANDLE parameter, void* data, UINT bytes) {
    const int index = find(parameter);
    if (index < 0 || !data) return D3DERR_INVALIDCALL;
    const EffectParameterType type = source_.parameters[index].type;
    if (type == EffectParameterType::Texture) {
        if (bytes < sizeof(IDirect3DBaseTexture9*)) return D3DERR_INVALIDCALL;
        IDirect3DBaseTexture9* texture = values_[index].texture;
        if (texture) texture->AddRef();
        std::memcpy(data, &texture, sizeof texture);
        return D3D_OK;
    }
    const UINT size = floatCount(type) * sizeof(float);
    if (bytes < size) return D3DERR_INVALIDCALL;
    std::memcpy(data, values_[index].floats, size);
    return D3D_OK;
}

HRESULT Effect::SetFloat(D3DXHANDLE parameter, FLOAT f) {
    const int index = find(parameter);
    if (index < 0) return D3DERR_INVALIDCALL;
    const EffectParameterType type = source_.parameters[index].type;
    if (type == EffectParameterType::Matrix || type == EffectParameterType::Texture) return D3DERR_INVALIDCALL;
    changing(index).floats[0] = f;
    return D3D_OK;
}

HRESULT Effect::GetFloat(D3DXHANDLE parameter, FLOAT* f) {
    const int index = find(parameter);
    if (index < 0 || !f || source_.parameters[index].type == EffectParameterType::Texture) return D3DERR_INVALIDCALL;
    *f = values_[index].floats[0];
    return D3D_OK;
}

HRESULT Effect::SetVector(D3DXHANDLE parameter, const D3DXVECTOR4* vector) {
    const int index = find(parameter);
    if (index < 0 || !vector) return D3DERR_INVALIDCALL;
    const EffectParameterType type = source_.parameters[index].type;
    if (type == EffectParameterType::Matrix || type == EffectParameterType::Texture) return D3DERR_INVALIDCALL;
    // A vector is cut to the parameter's size.
    const float components[4] = {vector->x, vector->y, vector->z, vector->w};
    std::memcpy(changing(index).floats, components, floatCount(type) * sizeof(float));
    return D3D_OK;
}

HRESULT Effect::GetVector(D3DXHANDLE parameter, D3DXVECTOR4* vector) {
    const int index = find(parameter);
    if (index < 0 || !vector) return D3DERR_INVALIDCALL;
    const EffectParameterType type = source_.parameters[index].type;
    if (type == EffectParameterType::Matrix || type == EffectParameterType::Texture) return D3DERR_INVALIDCALL;
    float components[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    std::memcpy(components, values_[index].floats, floatCount(type) * sizeof(float));
    *vector = D3DXVECTOR4(components[0], components[1], components[2], components[3]);
    return D3D_OK;
}

HRESULT Effect::SetMatrix(D3DXHANDLE parameter, const D3DXMATRIX* matrix) {
    const int index = find(parameter);
    if (index < 0 || !matrix || source_.parameters[index].type != EffectParameterType::Matrix)
        return D3DERR_INVALIDCALL;
    std::memcpy(changing(index).floats, &matrix->m[0][0], 16 * sizeof(float));
    return D3D_OK;
}

HRESULT Effect::GetMatrix(D3DXHANDLE parameter, D3DXMATRIX* matrix) {
    const int index = find(parameter);
    if (index < 0 || !matrix || source_.parameters[index].type != EffectParameterType::Matrix)
        return D3DERR_INVALIDCALL;
    std::memcpy(&matrix->m[0][0], values_[index].floats, 16 * sizeof(float));
    return D3D_OK;
}

HRESULT Effect::SetMatrixTranspose(D3DXHANDLE parameter, const D3DXMATRIX* matrix) {
    const int index = find(parameter);
    if (index < 0 || !matrix || source_.parameters[index].type != EffectParameterType::Matrix)
        return D3DERR_INVALIDCALL;
    Value& value = changing(index);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) value.floats[r * 4 + c] = matrix->m[c][r];
    return D3D_OK;
}

HRESULT Effect::SetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9* texture) {
    const int index = find(parameter);
    if (index < 0 || source_.parameters[index].type != EffectParameterType::Texture) return D3DERR_INVALIDCALL;
    setTextureValue(changing(index), texture);
    return D3D_OK;
}

HRESULT Effect::GetTexture(D3DXHANDLE parameter, IDirect3DBaseTexture9** texture) {
    const int index = find(parameter);
    if (index < 0 || !texture || source_.parameters[index].type != EffectParameterType::Texture)
        return D3DERR_INVALIDCALL;
    *texture = values_[index].texture;
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

HRESULT Effect::Begin(UINT* passes, DWORD flags) {
    if (begun_) return D3DERR_INVALIDCALL;
    if (passes) *passes = 1;
    if (!(flags & D3DXFX_DONOTSAVESTATE)) {
        for (int parameter : textureParameters_) saved_.saveTexture(textureStage(parameter));
        for (const EffectSamplerState& state : source_.samplerStates)
            saved_.saveSamplerState(textureStage(state.texture), state.type);
    }
    begun_ = true;
    return D3D_OK;
}

HRESULT Effect::BeginPass(UINT pass) {
    if (!begun_ || inPass_ || pass != 0) return D3DERR_INVALIDCALL;
    commit();
    // The pass sets all its states, its textures among them, whatever was set since.
    for (int parameter : textureParameters_) device_->SetTexture(textureStage(parameter), committed_[parameter].texture);
    for (const EffectSamplerState& state : source_.samplerStates)
        device_->SetSamplerState(textureStage(state.texture), state.type, state.value);
    d3d9::bindShader(device_, this);
    inPass_ = true;
    return D3D_OK;
}

// Outside a pass there is nothing to commit to, as with D3DX.
HRESULT Effect::CommitChanges() {
    if (inPass_) commit();
    return D3D_OK;
}

HRESULT Effect::EndPass() {
    if (!inPass_) return D3DERR_INVALIDCALL;
    d3d9::bindShader(device_, nullptr);
    inPass_ = false;
    return D3D_OK;
}

HRESULT Effect::End() {
    if (!begun_) return D3DERR_INVALIDCALL;
    if (inPass_) EndPass();
    saved_.restore();
    begun_ = false;
    return D3D_OK;
}

HRESULT Effect::GetDevice(IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    device_->AddRef();
    *device = device_;
    return D3D_OK;
}

void Effect::commit() {
    for (int i : pending_) {
        const EffectParameterType type = source_.parameters[i].type;
        if (type == EffectParameterType::Texture) {
            setTextureValue(committed_[i], values_[i].texture);
            device_->SetTexture(textureStage(i), values_[i].texture);
        } else {
            std::memcpy(committed_[i].floats, values_[i].floats, floatCount(type) * sizeof(float));
        }
        changed_[i] = 0;
    }
    pending_.clear();
}

void Effect::parametersInForce(std::vector<LoggedEffectParameter>& out) const {
    out.clear();
    out.reserve(source_.parameters.size());
    for (size_t i = 0; i < source_.parameters.size(); ++i) {
        LoggedEffectParameter logged{source_.parameters[i].name, source_.parameters[i].type, {}, committed_[i].texture};
        std::memcpy(logged.values, committed_[i].floats, sizeof logged.values);
        out.push_back(std::move(logged));
    }
}

void Effect::uploadParameters() {
    for (size_t i = 0; i < committed_.size(); ++i) {
        const int location = program_->location(i);
        if (location < 0) continue;
        const float* f = committed_[i].floats;
        switch (source_.parameters[i].type) {
        case EffectParameterType::Matrix: glUniformMatrix4fv(location, 1, GL_FALSE, f); break;
        case EffectParameterType::Float: glUniform1fv(location, 1, f); break;
        case EffectParameterType::Float2: glUniform2fv(location, 1, f); break;
        case EffectParameterType::Float3: glUniform3fv(location, 1, f); break;
        case EffectParameterType::Float4: glUniform4fv(location, 1, f); break;
        case EffectParameterType::Texture: break;  // samplers read their stages
        }
    }
}

}  // namespace velmora::d3dxfx
