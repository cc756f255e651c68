#include "ViewCulling.h"

#include "IndexBuffer.h"
#include "VertexBuffer.h"

#include <cstdint>

namespace velmora::d3d9 {

namespace {

// The box around the vertices the draw reads; false when they cannot be found.
bool boundsOfDraw(const DrawCall& call, PositionBounds& out) {
    switch (call.source) {
    case DrawCall::Source::User:
        if (call.vertexCount == 0) return false;
        out = boundsOfPositions(call.userVertices, 0, call.stride, call.vertexCount);
        return true;
    case DrawCall::Source::Stream: {
        const uint64_t offset = call.streamOffset + uint64_t(call.startVertex) * call.stride;
        if (offset > UINT(-1)) return false;
        return call.vertexBuffer->positionBounds(UINT(offset), call.stride, call.vertexCount, out);
    }
    case DrawCall::Source::Indexed: {
        IndexSpan span;
        if (!call.indexBuffer->span(call.startIndex, call.vertexCount, span) || span.low > span.high) return false;
        const int64_t first = int64_t(call.baseVertexIndex) + span.low;
        const int64_t offset = int64_t(call.streamOffset) + first * call.stride;
        if (first < 0 || offset > int64_t(UINT(-1))) return false;
        return call.vertexBuffer->positionBounds(UINT(offset), call.stride, span.high - span.low + 1, out);
    }
    }
    return false;
}

}  // namespace

bool drawLiesOutsideView(const DrawCall& call, const D3DMATRIX& toClip) {
    PositionBounds box;
    if (!boundsOfDraw(call, box)) return false;
    // The shift the vertex prelude adds, in clip units per w.
    const D3DVIEWPORT9& viewport = call.state.viewport;
    const float shiftX = 1.0f / float(viewport.Width), shiftY = 1.0f / float(viewport.Height);
    // A bit per plane: set while every corner so far lies beyond it.
    unsigned beyondAll = 0x3F;
    for (int corner = 0; corner < 8 && beyondAll; ++corner) {
        const float p[3] = {corner & 1 ? box.high[0] : box.low[0], corner & 2 ? box.high[1] : box.low[1],
                            corner & 4 ? box.high[2] : box.low[2]};
        float clip[4];
        for (int c = 0; c < 4; ++c)
            clip[c] = p[0] * toClip.m[0][c] + p[1] * toClip.m[1][c] + p[2] * toClip.m[2][c] + toClip.m[3][c];
        const float x = clip[0], y = clip[1], z = clip[2], w = clip[3];
        const float distances[6] = {x + w * (1.0f + shiftX), w * (1.0f - shiftX) - x, y + w * (1.0f - shiftY),
                                    w * (1.0f + shiftY) - y, z, w - z};
        unsigned beyond = 0;
        for (int plane = 0; plane < 6; ++plane)
            if (distances[plane] < 0.0f) beyond |= 1u << plane;
        beyondAll &= beyond;
    }
    return beyondAll != 0;
}

}  // namespace velmora::d3d9
