// The zones of the arena that decide where dragonflies are born, when the lifts wait and
// when the boss wakes, each boundary named once. All are tested on the player's position.
#pragma once

namespace arena {

// The start area: the floor beyond this z, below START_AREA_TOP. No dragonfly is born
// while the player is there.
const float START_AREA_Z = 40.0f;
const float START_AREA_TOP = 2.0f;

// The far area, short of this z: no dragonflies, and the lifts wait.
const float FAR_AREA_Z = -77.0f;

// The hall lies between the start and the far area, below HALL_TOP and east of HALL_WEST_X.
const float HALL_TOP = 30.0f;
const float HALL_WEST_X = -36.0f;

// The high back: beyond the start area's z, from this height up.
const float HIGH_BACK_BOTTOM = 38.0f;

// The approach to the boss's wing, where dragonflies are born near it: short of this z
// and west of this x.
const float BOSS_APPROACH_Z = 33.0f;
const float BOSS_APPROACH_X = -40.0f;

// The boss's wing itself, where the boss wakes: x, y and z at most these.
const float BOSS_WING_X = -41.0f;
const float BOSS_WING_Y = 60.0f;
const float BOSS_WING_Z = 36.0f;

}  // namespace arena
