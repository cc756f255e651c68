// Draws whose every fragment is certain to have alpha 1. Blending a source of alpha 1 with
// the factors games use for see-through pictures (SRCALPHA, INVSRCALPHA) writes the source
// unchanged, and an alpha test that passes 255 passes all of it: the OpenGL renderer then
// turns both off, which a software rasteriser pays for on every pixel. The game enables
// blending for everything it draws; most of it is opaque.
#pragma once

#include "Renderer.h"

namespace velmora::d3d9 {

// True only when it is certain, as the renderer computes the fragment: an effect that says
// its alpha is 1 now, or a fixed-function stage 0 whose alpha comes from an opaque texture,
// a texture factor of alpha 255 or vertex colours (or the material with lighting) of alpha 1.
bool fragmentsAreOpaque(const DrawCall& call);

// Whether the device's blend leaves a source of alpha 1 as it is (ADD or SUBTRACT, a source
// factor of ONE or SRCALPHA and a destination factor of ZERO or INVSRCALPHA, for colour and
// for alpha).
bool blendKeepsOpaqueSource(const DeviceState& state);

// Whether the device's alpha test passes an alpha of 255.
bool alphaTestPassesOpaque(const DeviceState& state);

}  // namespace velmora::d3d9
