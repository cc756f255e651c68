// A platform that shuttles back and forth along one axis, 0.1 units per frame. The
// player rides its box (BoxMesh, placed by WorldMatrix); BodyMesh is what is drawn.
#pragma once

#include "CharaBase.h"

class Lift : public CharaBase {
public:
    // `spare` is not read. `reverse` 1 starts the first leg against the axis.
    Lift(const D3DXVECTOR3* position, const D3DXVECTOR3* axis, const int* reverse, const int* spare,
         const float* scale, const int* legLength);

    void Update() override;
    void Draw() override;

    D3DXMATRIX drawScale;
    D3DXMATRIX drawMatrix;  // drawScale x TransMatrix: where the visible mesh is drawn
    int legFrames;          // frames run on the current leg
    int legLength;          // frames per leg
};
