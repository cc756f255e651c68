// Small helpers the game tests and their pilots share: reading positions and sounds
// as a test sees them, placing objects, and turning the view by mouse as a hand does.
#pragma once

#include <iosfwd>
#include <string>

#include <gtest/gtest.h>

#include "CharaBase.h"
#include "SceneManager.h"

namespace gametest {

// What the pilots know of the controls: a mouse pixel turns the view 0.1 degree, a
// hand moves at most MOUSE_STEP pixels a frame, and the view's pitch limit (less a
// little, so that the aim never rests on the stop).
const float DEGREES = 57.29578f;
const float DEGREES_PER_PIXEL = 0.1f;
const int MOUSE_STEP = 150;
const float PITCH_REACH = 17.8f;
// A shot climbs 1.5 x sin(pitch) per unit it flies across; it leaves from the back.
const float SHOT_CLIMB = 1.5f;
const float BACK_HEIGHT = 1.2f;

D3DXVECTOR3 positionOf(const D3DXMATRIX& m);
D3DXMATRIX translation(float x, float y, float z);
void place(CharaBase* object, float x, float y, float z);
// Turns an angle difference in degrees into [-180, 180).
float wrap(float degrees);
std::string describe(const D3DXVECTOR3& p);
void expectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, const char* what);

// Moves the mouse at most a hand's step toward the view angles, in degrees.
void turnViewToward(const CharaBase* camera, float yaw, float pitch);

// Whether the running step is shown: a late machine runs some steps unseen, their updates
// and draws clipped to an empty scissor rectangle.
bool stepShown();

// The first object of a kind in the play's list, or null (also between plays).
template <class T = CharaBase>
T* firstOf(int kind) {
    if (!g_sceneManager) return nullptr;
    for (CharaBase* object : g_sceneManager->objects) {
        if (object->Kind == kind) return static_cast<T*>(object);
    }
    return nullptr;
}

bool isPlaying(IDirectSoundBuffer8* buffer);
// Play calls made on a buffer so far (0 for a buffer that did not load).
unsigned playCallsOf(IDirectSoundBuffer8* buffer);

}  // namespace gametest

// Lets gtest print vectors and matrices in failure messages.
void PrintTo(const D3DXVECTOR3& v, std::ostream* out);
void PrintTo(const D3DXMATRIX& m, std::ostream* out);
