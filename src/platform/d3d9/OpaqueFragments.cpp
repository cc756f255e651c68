#include "OpaqueFragments.h"

#include "DeviceInternals.h"

#include <cstring>

namespace velmora::d3d9 {

namespace {

bool everyVertexAlphaIsFull(const DrawCall& call) {
    if (call.format.diffuse < 0) return true;  // no vertex colour: opaque white
    if (call.source != DrawCall::Source::User) return false;
    for (UINT i = 0; i < call.vertexCount; ++i) {
        D3DCOLOR colour;
        std::memcpy(&colour, call.userVertices + size_t(i) * call.stride + call.format.diffuse, sizeof colour);
        if ((colour >> 24) != 0xFF) return false;
    }
    return true;
}

// The diffuse colour the fixed-function vertex stage hands on has alpha 1.
bool diffuseAlphaIsFull(const DrawCall& call) {
    const DeviceState& state = call.state;
    if (!state.renderState(D3DRS_LIGHTING)) return everyVertexAlphaIsFull(call);
    const bool fromVertex = call.format.diffuse >= 0 && state.renderState(D3DRS_COLORVERTEX) &&
                            state.renderState(D3DRS_DIFFUSEMATERIALSOURCE) == D3DMCS_COLOR1;
    return fromVertex ? everyVertexAlphaIsFull(call) : state.material.Diffuse.a >= 1.0f;
}

// A stage argument (D3DTA_*) whose alpha is 1, as the fixed-function program reads it.
bool argumentAlphaIsFull(const DrawCall& call, DWORD arg) {
    if (arg & D3DTA_COMPLEMENT) return false;
    switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_TEXTURE: return textureIsOpaque(call.state.textures[0]);
    case D3DTA_TFACTOR: return (call.state.renderState(D3DRS_TEXTUREFACTOR) >> 24) == 0xFF;
    case D3DTA_SPECULAR: return false;  // read as 0
    default: return diffuseAlphaIsFull(call);
    }
}

bool fixedFunctionAlphaIsFull(const DrawCall& call) {
    const DeviceState& state = call.state;
    const DWORD alphaOp = state.stageState(0, D3DTSS_ALPHAOP);
    if (state.stageState(0, D3DTSS_COLOROP) == D3DTOP_DISABLE || alphaOp == D3DTOP_DISABLE)
        return diffuseAlphaIsFull(call);
    const bool first = argumentAlphaIsFull(call, state.stageState(0, D3DTSS_ALPHAARG1));
    const bool second = argumentAlphaIsFull(call, state.stageState(0, D3DTSS_ALPHAARG2));
    switch (alphaOp) {
    case D3DTOP_SELECTARG1: return first;
    case D3DTOP_SELECTARG2: return second;
    case D3DTOP_ADD: return first || second;  // clamped at 1
    default: return first && second;          // the other operations multiply them
    }
}

bool sourceFactorIsOne(DWORD blend) { return blend == D3DBLEND_ONE || blend == D3DBLEND_SRCALPHA; }
bool destinationFactorIsZero(DWORD blend) { return blend == D3DBLEND_ZERO || blend == D3DBLEND_INVSRCALPHA; }
bool operationKeepsSource(DWORD op) { return op == D3DBLENDOP_ADD || op == D3DBLENDOP_SUBTRACT; }

}  // namespace

bool fragmentsAreOpaque(const DrawCall& call) {
    return call.shader ? call.shader->outputIsOpaque(call.state) : fixedFunctionAlphaIsFull(call);
}

bool blendKeepsOpaqueSource(const DeviceState& state) {
    const bool colour = sourceFactorIsOne(state.renderState(D3DRS_SRCBLEND)) &&
                        destinationFactorIsZero(state.renderState(D3DRS_DESTBLEND)) &&
                        operationKeepsSource(state.renderState(D3DRS_BLENDOP));
    if (!state.renderState(D3DRS_SEPARATEALPHABLENDENABLE)) return colour;
    return colour && sourceFactorIsOne(state.renderState(D3DRS_SRCBLENDALPHA)) &&
           destinationFactorIsZero(state.renderState(D3DRS_DESTBLENDALPHA)) &&
           operationKeepsSource(state.renderState(D3DRS_BLENDOPALPHA));
}

bool alphaTestPassesOpaque(const DeviceState& state) {
    if (!state.renderState(D3DRS_ALPHATESTENABLE)) return true;
    const DWORD ref = state.renderState(D3DRS_ALPHAREF) & 0xFF;
    switch (state.renderState(D3DRS_ALPHAFUNC)) {
    case D3DCMP_LESS: return false;
    case D3DCMP_EQUAL: return ref == 0xFF;
    case D3DCMP_LESSEQUAL: return ref == 0xFF;
    case D3DCMP_GREATER: return ref < 0xFF;
    case D3DCMP_NOTEQUAL: return ref != 0xFF;
    case D3DCMP_GREATEREQUAL: return true;
    case D3DCMP_ALWAYS: return true;
    default: return false;  // NEVER, and values that name no function
    }
}

}  // namespace velmora::d3d9
