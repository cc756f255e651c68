// The spider machine the user steers: a body, eight legs stepping in an alternating gait,
// a gun on its back that tilts with the view, and a shadow. It walks relative to the
// camera's heading, rides lifts, is carried along its anchored thread, takes damage from
// dragonflies and the boss, shows its life gauge and explodes on its last point.
#pragma once

#include "CharaBase.h"
#include "Mesh.h"

class Player : public CharaBase {
public:
    Player();
    ~Player() override;

    void Update() override;
    void Draw() override;
    void OnHit(CharaBase* by) override;

    static const int START_LIFE = 10;
    // The life gauge shows each point as this many pixels: full, it is the whole frame.
    static const int PIXELS_PER_LIFE = 40;
    static const int FULL_GAUGE = START_LIFE * PIXELS_PER_LIFE;

    enum SoundIndex { SOUND_EXPLOSION, SOUND_WALK, SOUND_DAMAGE, SOUND_COUNT };

    struct Leg {
        D3DXMATRIX trans;  // offset on the body, moved by the gait
        D3DXMATRIX world;  // draw matrix
    };

    IDirectSoundBuffer8* SeBuffers[SOUND_COUNT];
    IDirectSound3DBuffer* Se3D[SOUND_COUNT];
    Mesh LegMesh;
    Leg Legs[8];
    D3DXMATRIX LegTurn[8];  // fixed turn of each leg about Y
    Mesh BulletMesh;
    D3DXMATRIX BulletOffset;
    D3DXMATRIX BulletWorld;
    int Staggered;  // 1 from a non-lethal hit until it lands again
    EffectVertex ExploQuad[4];

private:
    void readWalkingKeys(const CharaBase* camera);
    void moveStep(const CharaBase* camera);
    void followThread(CharaBase* line);
    void contactStep();
    void staggerStep();
    void gaitStep(const CharaBase* camera);
    void drawGauges();
    void drawGauge(Gauge& gauge, const D3DXMATRIX& transform, D3DCOLOR colour);
    void drawMeshes();
    void playSound(int index);
};
