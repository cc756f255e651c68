#include "Player.h"

Player::Player() : Staggered(0) {
    D3DXMatrixTranslation(&TransMatrix, 0.0f, 5.0f, 73.0f);
    D3DXMatrixRotationY(&RotYMatrix, 3.1415927f);
    D3DXMatrixMultiply(&WorldMatrix, &RotYMatrix, &TransMatrix);
    Life = 10;
    GaugeShown = 400;
    Active = 1;
    Kind = KIND_PLAYER;
}

void Player::Update() {}

void Player::Draw() {}
