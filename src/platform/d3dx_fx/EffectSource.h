// Our effect file format: a header naming the technique and declaring the parameters,
// then the two GLSL 3.30 stages of its one pass.
//
//   // comments and blank lines are allowed in the header
//   @technique Tech
//   @parameter matrix mW                (types: matrix float float2 float3 float4 texture)
//   @sampler Tex MipFilter POINT        (optional: a sampler state BeginPass sets on the stage of
//                                        texture parameter Tex, as a D3DX sampler_state does;
//                                        MinFilter MagFilter MipFilter: NONE POINT LINEAR ANISOTROPIC,
//                                        AddressU AddressV: WRAP MIRROR CLAMP BORDER)
//   @vertex
//   ...GLSL of the vertex stage...
//   @fragment
//   ...GLSL of the fragment stage...
//
// The stages are written without #version and without the parameters' uniforms: both are
// put in front of each stage (matrix -> mat4, floatN -> vecN, texture -> sampler2D), with
// the device's prelude (d3dPosition, d3dFragment, the vertex inputs; see
// d3d9/gl/GlslPrelude.h). Matrices arrive as D3DX stores them, so M * v in GLSL is v * M in
// D3DX terms. Texture parameters take texture stages 0, 1, ... in declaration order.
#pragma once

#include "velmora/DrawLog.h"

#include <d3d9.h>

#include <string>
#include <vector>

namespace velmora::d3dxfx {

struct EffectParameterDecl {
    std::string name;
    EffectParameterType type;
};

struct EffectSamplerState {
    size_t texture;  // the texture parameter whose stage it is set on
    D3DSAMPLERSTATETYPE type;
    DWORD value;
};

struct EffectSource {
    std::string technique;
    std::vector<EffectParameterDecl> parameters;
    std::vector<EffectSamplerState> samplerStates;
    std::string vertexStage;
    std::string fragmentStage;
    int vertexFirstLine = 0;  // file line of the first line of each stage
    int fragmentFirstLine = 0;
};

// False with a message naming the file and line when the text does not follow the format.
bool parseEffectSource(const std::string& text, const std::string& fileName, EffectSource& out, std::string& error);

// Floats a parameter of the type holds (16 for a matrix, 0 for a texture).
unsigned floatCount(EffectParameterType type);

inline constexpr unsigned kMaxEffectTextures = 8;

}  // namespace velmora::d3dxfx
