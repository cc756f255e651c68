#include "velmora/DrawLog.h"

#include <cstring>

namespace velmora {

namespace {

DWORD stateAt(const std::vector<DWORD>& states, DWORD index) { return index < states.size() ? states[index] : 0; }

}  // namespace

DWORD DrawRecord::renderState(D3DRENDERSTATETYPE state) const { return stateAt(renderStates, state); }

DWORD DrawRecord::stageState(D3DTEXTURESTAGESTATETYPE type) const { return stateAt(stage0States, type); }

DWORD DrawRecord::samplerState(D3DSAMPLERSTATETYPE type) const { return stateAt(sampler0States, type); }

const LoggedEffectParameter* DrawRecord::effectParameter(const char* name) const {
    for (const auto& parameter : effectParameters)
        if (parameter.name == name) return &parameter;
    return nullptr;
}

const DrawFrame& DrawLog::lastPresented() const {
    static const DrawFrame none;
    return presented_.empty() ? none : presented_.back();
}

const DrawFrame* DrawLog::presented(std::size_t framesAgo) const {
    if (framesAgo >= presented_.size()) return nullptr;
    return &presented_[presented_.size() - 1 - framesAgo];
}

void DrawLog::record(DrawRecord&& record) {
    ++totals_[static_cast<int>(record.kind)];
    pending_.push_back(std::move(record));
}

void DrawLog::present() {
    ++presentCount_;
    presented_.push_back(std::move(pending_));
    pending_.clear();
    while (presented_.size() > historyLength()) presented_.pop_front();
}

void DrawLog::reset() {
    pending_.clear();
    presented_.clear();
    presentCount_ = 0;
    std::memset(totals_, 0, sizeof totals_);
}

DrawLog& drawLog() {
    static DrawLog log;
    return log;
}

}  // namespace velmora
