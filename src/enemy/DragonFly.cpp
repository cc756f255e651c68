#include "DragonFly.h"

DragonFly::DragonFly(float speed) {
    Move = D3DXVECTOR3(0.0f, 0.0f, speed);
    Active = 1;
    Mode = 1;
    Kind = KIND_DRAGONFLY;
}

void DragonFly::Update() {}

void DragonFly::Draw() {}
