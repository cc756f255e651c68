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
    return presentedCount_ == 0 ? none : *presented(0);
}

const DrawFrame* DrawLog::presented(std::size_t framesAgo) const {
    if (framesAgo >= presentedCount_) return nullptr;
    return &presented_[(oldest_ + presentedCount_ - 1 - framesAgo) % presented_.size()];
}

DrawRecord DrawLog::recycledRecord() {
    DrawRecord fresh;
    if (spareRecords_.empty()) return fresh;
    DrawRecord& spare = spareRecords_.back();
    auto keepStorage = [](auto& to, auto& from) {
        from.clear();
        to.swap(from);
    };
    keepStorage(fresh.clearRects, spare.clearRects);
    keepStorage(fresh.vertices, spare.vertices);
    keepStorage(fresh.renderStates, spare.renderStates);
    keepStorage(fresh.stage0States, spare.stage0States);
    keepStorage(fresh.sampler0States, spare.sampler0States);
    keepStorage(fresh.effectParameters, spare.effectParameters);
    spareRecords_.pop_back();
    return fresh;
}

void DrawLog::record(DrawRecord&& record) {
    ++totals_[static_cast<int>(record.kind)];
    pending_.push_back(std::move(record));
}

void DrawLog::recycle(DrawFrame& frame) {
    for (DrawRecord& record : frame) spareRecords_.push_back(std::move(record));
    frame.clear();
    spareFrames_.push_back(std::move(frame));
}

void DrawLog::present() {
    ++presentCount_;
    if (presentedCount_ == presented_.size()) {
        recycle(presented_[oldest_]);
        oldest_ = (oldest_ + 1) % presented_.size();
        --presentedCount_;
    }
    presented_[(oldest_ + presentedCount_) % presented_.size()].swap(pending_);
    ++presentedCount_;
    if (!spareFrames_.empty()) {
        pending_.swap(spareFrames_.back());
        spareFrames_.pop_back();
    }
}

void DrawLog::reset() {
    pending_ = DrawFrame();
    for (DrawFrame& frame : presented_) frame = DrawFrame();
    oldest_ = 0;
    presentedCount_ = 0;
    spareRecords_ = std::vector<DrawRecord>();
    spareFrames_ = std::vector<DrawFrame>();
    presentCount_ = 0;
    std::memset(totals_, 0, sizeof totals_);
}

DrawLog& drawLog() {
    static DrawLog log;
    return log;
}

namespace {

bool g_recording = true;

}  // namespace

void setDrawRecording(bool on) { g_recording = on; }

bool drawRecording() { return g_recording; }

}  // namespace velmora
