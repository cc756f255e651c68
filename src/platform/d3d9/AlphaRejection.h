// Whether the alpha test throws away every fragment of a fixed-function draw, so that the
// draw changes no colour, depth or stencil value and need not be rasterised at all. Fades
// at rest draw whole-screen quads whose vertex alpha is 0 under a "greater than 0" test;
// on a software rasteriser each one costs as much as a picture drawn over the screen.
#pragma once

#include "Renderer.h"

namespace velmora::d3d9 {

// True only when it is certain: vertices given by pointer (DrawPrimitiveUP) whose colours
// all have alpha 0, a stage-0 alpha that is 0 wherever the vertex alpha is, and an alpha
// test that fails for 0.
bool alphaTestRejectsEveryFragment(const DrawCall& call);

}  // namespace velmora::d3d9
