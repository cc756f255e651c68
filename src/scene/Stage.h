// One play: builds the world objects, the arena, the light and the projection, runs and
// draws them every frame, and ends the play as won or lost.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

class Stage {
public:
    Stage();

    void init();
    void update();
    void draw();
    // End the play won or lost. They delete every object, the calling camera included,
    // and may run in the middle of draw's walk over the objects.
    void clear();
    void gameOver();
    // End of the play scene: deletes whatever is still in the object list.
    void release();

    D3DXMATRIX projection;
    D3DXMATRIX view;

    // Scratch for building the lifts and ropes from their tables.
    D3DXVECTOR3 spawnPos;
    int liftReverse;
    int liftSpare;  // always 1; the lift does not read it
    float liftScale;
    int liftTravelFrames;
    float ropeYawDeg;
    float ropeRollDeg;
    D3DXVECTOR3 liftDirection;

    int cleared;
    int finished;

private:
    void spawnDragonFly();
    void endPlay(int won);
};

extern Stage g_stage;
