// Shared set-up of the player tests: a headless window, device and scene manager made
// afresh for every test, the generated arena, and a small world of a camera, the player
// and its thread, run frame by frame as the Stage runs them.
#pragma once

#include <vector>

#include <gtest/gtest.h>

#include <velmora/HeadlessAudio.h>

#include "CharaBase.h"
#include "DragonFly.h"
#include "SceneManager.h"

class Player;
class SpiderLine;
class TestCamera;

namespace playertest {

// A dragonfly put where the test wants it, counting the hits and catches it gets. The
// player tests never update dragonflies, so there it stays put.
class StillFly : public DragonFly {
public:
    StillFly(float x, float y, float z);
    void OnHit(CharaBase* by) override;
    void OnCaught(CharaBase* line) override;

    int hits = 0;
    int catches = 0;
};

D3DXVECTOR3 positionOf(const D3DXMATRIX& m);
D3DXMATRIX translation(float x, float y, float z);
void place(CharaBase* object, float x, float y, float z);
// Play calls made on a buffer so far (0 for a buffer that did not load).
unsigned playCallsOf(IDirectSoundBuffer8* buffer);
bool isPlaying(IDirectSoundBuffer8* buffer);

// The application and scene manager exist for each test; SetUp adds nothing to the list.
class GameFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    ObjectList& objects() { return g_sceneManager->objects; }
};

// A camera, the player and the thread at indices 0, 1 and 2, in the arena.
class PlayerWorld : public GameFixture {
protected:
    void SetUp() override;

    template <class T>
    T* add(T* object) {
        objects().push_back(object);
        return object;
    }
    int indexOf(const CharaBase* object) const;

    // Updates every object in list order except the dragonflies, which stay where the
    // test put them; then draws a frame as the Stage does.
    void update();
    void draw();
    void frame();
    // Draws one object alone in a frame of its own.
    void drawOnly(CharaBase* object);
    void frames(int count);
    // Puts the player at a point and lets it come to rest on what is below.
    void standAt(float x, float y, float z);
    // Turns the view by whole mouse pixels (0.1 degree each) over one frame.
    void look(int dx, int dy);
    // One frame with the left button held, then one with it up.
    void click();

    TestCamera* camera = nullptr;
    Player* player = nullptr;
    SpiderLine* line = nullptr;
};

}  // namespace playertest

void PrintTo(const D3DXVECTOR3& v, std::ostream* out);
