#include "RopeObj.h"

#include "GameHelpers.h"
#include "Graphics.h"

using game::DEGREES_TO_RADIANS;

RopeObj::RopeObj(const D3DXVECTOR3* position, const float* rollDeg, const float* yawDeg) {
    Move = *position;
    D3DXMatrixTranslation(&TransMatrix, Move.x, Move.y, Move.z);
    D3DXMatrixRotationZ(&RotZMatrix, *rollDeg * DEGREES_TO_RADIANS);
    D3DXMatrixRotationY(&RotYMatrix, *yawDeg * DEGREES_TO_RADIANS);
    D3DXMatrixScaling(&ScaleMatrix, 25.0f, 30.0f, 25.0f);
    D3DXMatrixMultiply(&WorldMatrix, &RotZMatrix, &RotYMatrix);
    D3DXMatrixMultiply(&WorldMatrix, &WorldMatrix, &ScaleMatrix);
    D3DXMatrixMultiply(&WorldMatrix, &WorldMatrix, &TransMatrix);
    Active = 1;
    IDirect3DDevice9* device = Graphics::get().device;
    BodyMesh.load(device, "data/Field/RopeObject2.x");
    BoxMesh.load(device, "data/Field/RopeObjectBox.x");
    Kind = KIND_ROPE;
}

// A rope never moves.
void RopeObj::Update() {}

void RopeObj::Draw() { game::drawModel(BodyMesh, WorldMatrix); }
