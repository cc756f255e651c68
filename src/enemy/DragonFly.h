// The common flying enemy. It is born near the player, flies forward at its own speed,
// turns toward the player by at most a degree a frame and climbs or sinks toward a
// point just above the player's height, flapping four wings over its shadow. A thrown
// ball (or the rolling boss) breaks it into four tumbling pieces under a cloud of smoke;
// the thread catches it and carries it at its tip until it lets go.
#pragma once

#include <dsound.h>

#include "CharaBase.h"
#include "Mesh.h"

class DragonFly : public CharaBase {
public:
    // Placed by where the player is; born inactive while the player is in the start area.
    explicit DragonFly(float speed);
    ~DragonFly() override;

    void Update() override;
    void Draw() override;
    void ReleaseMeshes() override;
    // Struck: the body breaks apart. `by` is not used.
    void OnHit(CharaBase* by) override;
    // Caught by the thread. `line` is not used.
    void OnCaught(CharaBase* line) override;

    IDirectSoundBuffer8* exploBuffer;
    IDirectSound3DBuffer* exploBuffer3D;
    Mesh frontWingMesh;
    Mesh backWingMesh;
    D3DXMATRIX flapA, flapB;  // the two current wing rotations about Z
    D3DXMATRIX mirror;        // turns a wing to the other side
    D3DXMATRIX wingOffset1, wingWorld1, wingOffset2, wingWorld2;
    D3DXMATRIX wingOffset3, wingWorld3, wingOffset4, wingWorld4;
    float bearing;     // degrees: direction to the target point
    float turn;        // degrees: bearing - Yaw, wrapped into [-180, 180]
    int flapDir;       // direction of the current wing stroke (0 or 1)
    float flapAngle;   // degrees: angle of the current wing stroke
    float climbSpeed;  // vertical step per frame, in the dragonfly's own space

private:
    bool bornInStartArea() const;
    void placeByPlayer();

    void steer();
    void flapWings();
    D3DXMATRIX flapStep(const D3DXMATRIX& current, float sign);
    void breakApart();
    void followThread();
    void checkStruck();
    void checkFarZone();
    void pushOffWalls();
};
