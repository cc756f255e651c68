// Small pieces the world objects share: finding objects in the play's list, positions and
// headings taken from matrices and vectors, drawing a mesh with the model shader and the
// three ways a sound effect is started or stopped.
#pragma once

#include <vector>

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <dsound.h>

#include "CharaBase.h"
#include "Mesh.h"
#include "ObjectList.h"

namespace game {

const float DEGREES_TO_RADIANS = 0.017453292f;

ObjectList& objects();
// The objects of one Kind in list order: the ones a walk of the list picking that Kind
// would visit.
const std::vector<CharaBase*>& objectsOfKind(int kind);
// The first object of a kind in list order, or null (also when there is no play).
CharaBase* firstOfKind(int kind);
// True when some object of the kind has no life left.
bool anyLifeGone(int kind);

D3DXVECTOR3 positionOf(const D3DXMATRIX& m);
D3DXMATRIX translation(const D3DXVECTOR3& at);
float distanceBetween(const D3DXVECTOR3& a, const D3DXVECTOR3& b);
// Normalised, or zero for a zero vector.
D3DXVECTOR3 unitOrZero(const D3DXVECTOR3& v);

// The heading of a unit direction in degrees from +z toward +x: acos(z), negated when x
// is negative. Rounding can push z a hair outside [-1, 1]; it is clamped so that the
// heading never becomes NaN. The dragonflies and the boss each have their own factor
// from radians to degrees (they differ in the last bit).
float headingDegrees(const D3DXVECTOR3& unit, float degreesPerRadian);
// An angle difference in degrees brought into [-180, 180].
float wrapDegrees(float degrees);
// The turn about Y of one frame toward a heading difference: `stepRadians` in its
// direction, or the whole difference once it is within 3 degrees.
D3DXMATRIX yawStepToward(float delta, float stepRadians);
// Turns `m` in place so that its Z axis points at `target`.
void pointZAxisAt(D3DXMATRIX& m, const D3DXVECTOR3& target);

// The arena's mesh pointer, as the ray queries take it.
ID3DXMesh* arenaMesh();
const D3DXMATRIX& arenaWorld();

// The camera's pitch and yaw, which turn a quad toward the viewer; false without camera.
bool cameraFacing(D3DXMATRIX* out);

// A source rectangle of a gauge picture.
RECT sourceRect(LONG left, LONG top, LONG right, LONG bottom);

// Sets "mW" and draws the mesh through the model shader.
void drawModel(const Mesh& mesh, const D3DXMATRIX& world);

// Lets a sound that is already playing go on.
void playSound(IDirectSoundBuffer8* buffer);
// From the start, even while it plays.
void restartSound(IDirectSoundBuffer8* buffer);
void silenceSound(IDirectSoundBuffer8* buffer);

}  // namespace game
