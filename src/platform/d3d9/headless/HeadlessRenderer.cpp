#include "HeadlessRenderer.h"

#include "DeviceInternals.h"
#include "IndexBuffer.h"
#include "VertexBuffer.h"
#include "velmora/DrawLog.h"

#include <cstring>

namespace velmora::d3d9 {

namespace {

LoggedVertex decodeVertex(const BYTE* vertex, const VertexFormat& format) {
    LoggedVertex out{};
    out.diffuse = 0xFFFFFFFF;
    std::memcpy(&out.x, vertex, 3 * sizeof(float));
    if (format.normal >= 0) std::memcpy(&out.nx, vertex + format.normal, 3 * sizeof(float));
    if (format.diffuse >= 0) std::memcpy(&out.diffuse, vertex + format.diffuse, sizeof(D3DCOLOR));
    if (format.texCoord >= 0) {
        std::memcpy(&out.u, vertex + format.texCoord, sizeof(float));
        if (format.texCoordComponents >= 2) std::memcpy(&out.v, vertex + format.texCoord + 4, sizeof(float));
    }
    return out;
}

void copyState(const DeviceState& state, DrawRecord& record) {
    record.renderStates.assign(state.renderStates.begin(), state.renderStates.end());
    record.stage0States.assign(state.stageStates[0].begin(), state.stageStates[0].end());
    record.sampler0States.assign(state.samplerStates[0].begin(), state.samplerStates[0].end());
    record.texture = state.textures[0];
    record.world = state.world;
    record.view = state.view;
    record.projection = state.projection;
    record.viewport = state.viewport;
    record.fvf = state.fvf;
}

DrawKind kindOf(DrawCall::Source source) {
    switch (source) {
    case DrawCall::Source::User: return DrawKind::PrimitiveUP;
    case DrawCall::Source::Indexed: return DrawKind::IndexedPrimitive;
    case DrawCall::Source::Stream: break;
    }
    return DrawKind::Primitive;
}

}  // namespace

void HeadlessRenderer::clear(const ClearCall& call) {
    if (!drawRecording()) return;
    DrawRecord record = drawLog().recycledRecord();
    record.kind = DrawKind::Clear;
    record.insideScene = call.insideScene;
    record.clearFlags = call.flags;
    record.clearColor = call.color;
    record.clearZ = call.z;
    record.clearStencil = call.stencil;
    if (call.rects) record.clearRects.assign(call.rects, call.rects + call.rectCount);
    record.viewport = call.state.viewport;
    drawLog().record(std::move(record));
}

void HeadlessRenderer::draw(const DrawCall& call) {
    if (!drawRecording()) return;
    DrawRecord record = drawLog().recycledRecord();
    record.kind = kindOf(call.source);
    record.insideScene = call.insideScene;
    record.primitiveType = call.type;
    record.primitiveCount = call.primitiveCount;
    record.stride = call.stride;
    copyState(call.state, record);
    if (call.source == DrawCall::Source::User) {
        record.vertices.reserve(call.vertexCount);
        for (UINT i = 0; i < call.vertexCount; ++i)
            record.vertices.push_back(decodeVertex(call.userVertices + size_t(i) * call.stride, call.format));
    } else {
        record.vertexBuffer = call.vertexBuffer;
        record.startIndex = call.source == DrawCall::Source::Indexed ? call.startIndex : call.startVertex;
    }
    if (call.source == DrawCall::Source::Indexed) {
        record.indexBuffer = call.indexBuffer;
        record.baseVertexIndex = call.baseVertexIndex;
    }
    if (call.shader) {
        record.effectActive = true;
        call.shader->parametersInForce(record.effectParameters);
    }
    drawLog().record(std::move(record));
}

void HeadlessRenderer::present() { drawLog().present(); }

bool HeadlessRenderer::readBack(std::vector<BYTE>&, UINT&, UINT&) { return false; }

}  // namespace velmora::d3d9
