// The boss: an eight-legged creature that sleeps in its own wing of the arena until the
// player comes in. Walking, it turns toward the player, walks in short bursts and fires
// shells from the gun on its back; the fourth ball that hits it blows the gun off and it
// rolls up into a ball that spins up and chases the player, bouncing off walls and
// crushing dragonflies. The eighth hit destroys it. Its life gauge sits top left.
#pragma once

#include <dsound.h>

#include "CharaBase.h"
#include "Mesh.h"
#include "Texture.h"

class PillBugs : public CharaBase {
public:
    PillBugs();
    ~PillBugs() override;

    void Update() override;
    void Draw() override;
    // Struck by a thrown ball. `by` is not used.
    void OnHit(CharaBase* by) override;
    // The shell bursts. `by` is not used.
    void OnCrash(CharaBase* by) override;

    // Eight hits in all: the walking form takes WALKING_HITS ordinary ones and loses its
    // gun to the next; the rolling form takes ordinary hits down to one life left.
    static const int START_LIFE = 8;
    static const int WALKING_HITS = 3;
    static const int GUN_LIFE = START_LIFE - WALKING_HITS;
    static const int LAST_LIFE = 1;
    // The life gauge shows each life as this many pixels: full, it is the whole frame.
    static const int PIXELS_PER_LIFE = 50;
    static const int FULL_GAUGE = START_LIFE * PIXELS_PER_LIFE;

    enum SoundIndex {
        ExploSound,
        DamageSound,
        BossExploSound,
        RollOverSound,
        MoveSound,
        BoundSound,
        BallSound,
        FirstRollSound,
        LoopRollSound,
        SOUND_COUNT
    };

    struct Leg {
        D3DXMATRIX local;  // animated placement on the body
        D3DXMATRIX world;
    };

    Mesh ArmMesh;
    Mesh BallMesh;
    Leg Legs[8];
    D3DXMATRIX LegMirror;  // turns the mesh of the left-hand (odd) legs
    D3DXMATRIX KnockStep;
    D3DXVECTOR3 KnockVelocity;  // sideways drift per frame while in the air
    D3DXMATRIX BallDrawMatrix;
    float RollSpeed;  // degrees a frame added to the roll angle (Pitch)

    // The gun on the back, blown off at the fourth hit.
    Mesh GunMesh;
    D3DXMATRIX GunMount;  // its place on the body, in model space
    D3DXMATRIX GunTumbleX;
    D3DXMATRIX GunTumbleY;
    D3DXMATRIX GunWorld;
    D3DXMATRIX GunDrift;

    int WalkForm;  // 1 walking, 0 rolled up
    int GunLost;
    float GunRise;  // the blown-off gun's vertical speed, upward positive

    // The shell, fired from the gun while the boss walks.
    Mesh ShellMesh;
    D3DXMATRIX ShellStep;
    D3DXMATRIX ShellMatrix;
    D3DXMATRIX ShellScale;
    D3DXMATRIX BurstTrans;
    D3DXMATRIX BurstWorld;
    Texture BurstTexture;
    EffectVertex BurstQuad[4];
    int ShellFlying;
    int ShellBurst;
    float ShellDrop;  // how far the shell sinks in the current frame

    float TargetYaw;  // degrees: heading from the boss to the player
    float TurnDelta;  // degrees: TargetYaw - Yaw, wrapped into [-180, 180]

    IDirectSoundBuffer8* Sounds[SOUND_COUNT];
    IDirectSound3DBuffer* Sounds3D[SOUND_COUNT];

    // Where the boss's wing begins: the boss sleeps while the player is outside it.
    static bool playerInRegion(const CharaBase* player);

private:
    void loadResources();
    void layOutLegs();

    void checkThreadHit();
    void headingAndAim(const CharaBase* player);
    void walk(const CharaBase* player);
    void animateLegs();
    void placeLegs();
    void roll(const CharaBase* player);
    bool bounceOffWalls();
    void crushDragonFlies();
    void airborne();

    void ordinaryHit();
    void blowGunOff();
    void destroy();

    void drawExplosion();
    void drawSmoke();

    // The shell, the gun and the gauge (PillBugsShell.cpp).
    void launchShell();
    void placeGun();
    void fallGun();
    void setGunLaunch();
    void flyShell();
    void shellHits();
    void drawShell();
    void drawBurst();
    void drawMuzzleWave();
    void drawGauge();
    void drawGaugeRecord(Gauge& gauge, float x, float y, D3DCOLOR colour);
    // The shell's direction, kept in the first three Aux floats.
    D3DXVECTOR3 shellDir() const;
    void setShellDir(const D3DXVECTOR3& dir);
};
