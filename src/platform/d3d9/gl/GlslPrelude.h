// The GLSL that every program the device runs starts with, fixed-function or effect.
//
// Vertex stage: attributes at fixed locations (0 position, 1 normal, 2 diffuse colour,
// 3 first texture coordinate) and d3dPosition(clip), which turns a Direct3D clip-space
// position (v * W * V * P, depth 0..w) into OpenGL's: depth to -w..w, and a shift of half a
// pixel so that Direct3D 9's pixel centres (at integers) land on GL's (at half integers).
//
// Fragment stage: d3dFragment(colour), which applies the device's alpha test; the shader
// declares its own single output.
//
// The device sets the uniforms behind both functions before each draw.
#pragma once

#include <d3d9.h>

#include <string>

namespace velmora::d3d9 {

std::string vertexPrelude();
// Programs are made for one alpha function (D3DCMP_ALWAYS when the test is off): the
// compiler drops the test, and with it the discard, where it always passes.
std::string fragmentPrelude(D3DCMPFUNC alphaFunc);

// Uniform names the renderer fills in.
inline constexpr const char* kPixelOffsetUniform = "velmoraPixelOffset";
inline constexpr const char* kAlphaRefUniform = "velmoraAlphaRef";

}  // namespace velmora::d3d9
