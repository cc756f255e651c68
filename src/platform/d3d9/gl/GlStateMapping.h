// Direct3D 9 render and sampler states translated to OpenGL.
#pragma once

#include "DeviceState.h"

namespace velmora::d3d9 {

// Depth, stencil, blending, culling, fill mode and colour writes for a draw. The depth
// test needs a depth buffer, as on Direct3D.
void applyRenderStates(const DeviceState& state, bool hasDepthBuffer);
// Filters, addressing, LOD bias and anisotropy of one sampler.
void applySamplerStates(unsigned glSampler, const DeviceState& state, DWORD sampler);
// GL_TRIANGLES and friends for a primitive type.
unsigned glPrimitive(D3DPRIMITIVETYPE type);

}  // namespace velmora::d3d9
