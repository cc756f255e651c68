// Shared set-up of the enemy tests: a headless window, device and scene manager made
// afresh for every test, the generated arena, and helpers to place objects, run chosen
// objects frame by frame and read what the headless device and sound system recorded.
#pragma once

#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include <velmora/DrawLog.h>

#include "CharaBase.h"
#include "SceneManager.h"

class DragonFly;
class PillBugs;
class Player;
class SpiderLine;
class TestCamera;

namespace enemytest {

D3DXVECTOR3 positionOf(const D3DXMATRIX& m);
D3DXMATRIX translation(float x, float y, float z);
void place(CharaBase* object, float x, float y, float z);
// Heading in degrees of an object's forward (+z) axis, from +z toward +x.
float headingOf(const D3DXMATRIX& world);
// Turns a heading difference into [-180, 180).
float wrap(float degrees);

bool isPlaying(IDirectSoundBuffer8* buffer);
unsigned playCallsOf(IDirectSoundBuffer8* buffer);

// The up-draws of a frame whose texture is `texture` (effect quads).
std::vector<const velmora::DrawRecord*> quadsWith(const velmora::DrawFrame& frame, IDirect3DTexture9* texture);
// The sheet cell an effect quad shows, from its first vertex's texture coordinates.
int cellOf(const velmora::DrawRecord& quad);
// Sprite draws of a frame.
std::vector<const velmora::DrawRecord*> spritesOf(const velmora::DrawFrame& frame);

// Reseeds rand() with the first seed from `from` on whose sequence `accept` holds, so
// that a test can ask for a particular random choice without knowing the generator;
// returns that seed.
unsigned seedWhere(bool (*accept)(), unsigned from = 1);

// A headless application, a scene manager and the arena, fresh for every test.
class EnemyTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ObjectList& objects() { return g_sceneManager->objects; }
    template <class T>
    T* add(T* object) {
        objects().push_back(object);
        return object;
    }
    // A camera and a player (not updated unless asked), for enemies to look at.
    void addCameraAndPlayer(float x, float y, float z);

    // Each of these ends by presenting, so that lastPresented() holds everything the
    // frame drew, from the updates and from the draws.
    // The given objects' updates, then their draws.
    void frame(std::initializer_list<CharaBase*> updated, std::initializer_list<CharaBase*> drawn);
    // Every object updates and draws, as the Stage runs them.
    void frameAll();
    void updateOnly(std::initializer_list<CharaBase*> updated);
    void drawOnly(CharaBase* object);

    TestCamera* camera = nullptr;
    Player* player = nullptr;
};

}  // namespace enemytest

void PrintTo(const D3DXVECTOR3& v, std::ostream* out);
