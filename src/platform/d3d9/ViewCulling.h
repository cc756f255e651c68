// Draws whose every vertex lies outside the view make no pixels: the OpenGL renderer skips
// them instead of handing their vertices to a software rasteriser, which would transform
// each one only to throw it away. A draw can be judged when its shader says which matrix
// takes its positions to clip space.
#pragma once

#include "Renderer.h"

namespace velmora::d3d9 {

// True only when it is certain: the box around the positions the draw reads lies wholly
// on the far side of one plane of the view volume, Direct3D's half-pixel shift included.
// `toClip` is a row-vector (D3DX) matrix.
bool drawLiesOutsideView(const DrawCall& call, const D3DMATRIX& toClip);

}  // namespace velmora::d3d9
