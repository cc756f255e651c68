// A fixed anchor the thread can stick to. Its meshes are authored at the arena's scale.
#pragma once

#include "CharaBase.h"

class RopeObj : public CharaBase {
public:
    RopeObj(const D3DXVECTOR3* position, const float* rollDeg, const float* yawDeg);

    void Update() override;
    void Draw() override;
};
