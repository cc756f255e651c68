// The game's objects put together from their meshes the way their Draw places them: the
// spider machine, a dragonfly, the boss, and the arena with its anchors and lifts.
#pragma once

#include <vector>

#include "ModelScene.h"

namespace gallery {

// Body, shadow, the eight legs at their hinges and turns, the gun on the back, in the
// player's drawing order. `world`: heading and position.
std::vector<Part> spiderParts(const D3DXMATRIX& world);
// Body, two front and two back wings (the left ones mirrored), the shadow on the ground
// below. `world` includes the dragonfly's scale of 1.2; `flap`: the wings' tilt, radians.
std::vector<Part> dragonflyParts(const D3DXMATRIX& world, float flap, float groundY);
// Walking form: body, eight legs (the left ones mirrored), the gun. `world` includes the
// boss's scale of 9.
std::vector<Part> bossParts(const D3DXMATRIX& world);
// The arena, the eleven anchors and the four lifts at their start positions.
std::vector<Part> arenaParts();

struct Anchor {
    D3DXVECTOR3 position;
    float rollDegrees, yawDegrees;
};
extern const Anchor kAnchors[11];
D3DXMATRIX anchorWorld(const Anchor& anchor);

}  // namespace gallery
