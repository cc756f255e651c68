#include "SavedDeviceState.h"

namespace velmora::d3dxfx {

SavedDeviceState::~SavedDeviceState() { forget(); }

void SavedDeviceState::saveRenderState(D3DRENDERSTATETYPE state) {
    Entry entry{Kind::Render, 0, DWORD(state), 0, {}, nullptr};
    device_->GetRenderState(state, &entry.value);
    entries_.push_back(entry);
}

void SavedDeviceState::saveStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type) {
    Entry entry{Kind::Stage, stage, DWORD(type), 0, {}, nullptr};
    device_->GetTextureStageState(stage, type, &entry.value);
    entries_.push_back(entry);
}

void SavedDeviceState::saveSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type) {
    Entry entry{Kind::Sampler, sampler, DWORD(type), 0, {}, nullptr};
    device_->GetSamplerState(sampler, type, &entry.value);
    entries_.push_back(entry);
}

void SavedDeviceState::saveTransform(D3DTRANSFORMSTATETYPE type) {
    Entry entry{Kind::Transform, 0, DWORD(type), 0, {}, nullptr};
    device_->GetTransform(type, &entry.matrix);
    entries_.push_back(entry);
}

void SavedDeviceState::saveFvf() {
    Entry entry{Kind::Fvf, 0, 0, 0, {}, nullptr};
    device_->GetFVF(&entry.value);
    entries_.push_back(entry);
}

void SavedDeviceState::saveTexture(DWORD stage) {
    Entry entry{Kind::Texture, stage, 0, 0, {}, nullptr};
    device_->GetTexture(stage, &entry.texture);
    entries_.push_back(entry);
}

void SavedDeviceState::restore() {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        switch (it->kind) {
        case Kind::Render: device_->SetRenderState(D3DRENDERSTATETYPE(it->type), it->value); break;
        case Kind::Stage: device_->SetTextureStageState(it->slot, D3DTEXTURESTAGESTATETYPE(it->type), it->value); break;
        case Kind::Sampler: device_->SetSamplerState(it->slot, D3DSAMPLERSTATETYPE(it->type), it->value); break;
        case Kind::Transform: device_->SetTransform(D3DTRANSFORMSTATETYPE(it->type), &it->matrix); break;
        case Kind::Fvf: device_->SetFVF(it->value); break;
        case Kind::Texture: device_->SetTexture(it->slot, it->texture); break;
        }
    }
    forget();
}

void SavedDeviceState::forget() {
    for (auto& entry : entries_)
        if (entry.texture) entry.texture->Release();
    entries_.clear();
}

}  // namespace velmora::d3dxfx
