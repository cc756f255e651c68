#include "AlphaRejection.h"

#include <cstring>

namespace velmora::d3d9 {

namespace {

// The test compares the alpha as an 8-bit value with the reference.
bool testFailsForZero(DWORD func, DWORD ref) {
    ref &= 0xFF;
    switch (func) {
    case D3DCMP_NEVER: return true;
    case D3DCMP_LESS: return ref == 0;
    case D3DCMP_EQUAL: return ref != 0;
    case D3DCMP_GREATER: return true;
    case D3DCMP_NOTEQUAL: return ref == 0;
    case D3DCMP_GREATEREQUAL: return ref != 0;
    default: return false;  // LESSEQUAL and ALWAYS pass 0
    }
}

// The argument is the interpolated vertex alpha itself.
bool isVertexAlpha(DWORD arg) { return arg == D3DTA_DIFFUSE || arg == (D3DTA_DIFFUSE | D3DTA_ALPHAREPLICATE); }

// Stage 0's alpha is 0 wherever the vertex alpha is 0.
bool stageAlphaFollowsVertexAlpha(const DeviceState& state) {
    if (state.stageState(0, D3DTSS_COLOROP) == D3DTOP_DISABLE) return true;  // the vertex colour as it is
    const DWORD arg1 = state.stageState(0, D3DTSS_ALPHAARG1);
    const DWORD arg2 = state.stageState(0, D3DTSS_ALPHAARG2);
    switch (state.stageState(0, D3DTSS_ALPHAOP)) {
    case D3DTOP_DISABLE: return true;
    case D3DTOP_SELECTARG1: return isVertexAlpha(arg1);
    case D3DTOP_SELECTARG2: return isVertexAlpha(arg2);
    case D3DTOP_MODULATE:
    case D3DTOP_MODULATE2X:
    case D3DTOP_MODULATE4X: return isVertexAlpha(arg1) || isVertexAlpha(arg2);
    default: return false;
    }
}

bool everyVertexAlphaIsZero(const DrawCall& call) {
    if (call.format.diffuse < 0) return false;  // no vertex colour: opaque white
    for (UINT i = 0; i < call.vertexCount; ++i) {
        D3DCOLOR colour;
        std::memcpy(&colour, call.userVertices + size_t(i) * call.stride + call.format.diffuse, sizeof colour);
        if (colour >> 24) return false;
    }
    return true;
}

}  // namespace

bool alphaTestRejectsEveryFragment(const DrawCall& call) {
    const DeviceState& state = call.state;
    if (call.shader || call.source != DrawCall::Source::User) return false;
    if (!state.renderState(D3DRS_ALPHATESTENABLE)) return false;
    if (!testFailsForZero(state.renderState(D3DRS_ALPHAFUNC), state.renderState(D3DRS_ALPHAREF))) return false;
    return stageAlphaFollowsVertexAlpha(state) && everyVertexAlphaIsZero(call);
}

}  // namespace velmora::d3d9
