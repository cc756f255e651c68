#include "Lift.h"

#include "ArenaZones.h"
#include "GameHelpers.h"
#include "Graphics.h"

namespace {

const float STEP = 0.1f;

}  // namespace

Lift::Lift(const D3DXVECTOR3* position, const D3DXVECTOR3* axis, const int* reverse, const int*,
           const float* scale, const int* legLength)
    : legFrames(0), legLength(*legLength) {
    D3DXMatrixScaling(&drawScale, 1.5f, 1.5f, 1.5f);
    Move = *position;
    Scale = *scale;
    Velocity = *axis;
    Mode = *reverse;
    Active = 1;
    Kind = KIND_LIFT;
    D3DXMatrixTranslation(&TransMatrix, Move.x, Move.y, Move.z);
    D3DXMatrixScaling(&ScaleMatrix, Scale, Scale, Scale);
    WorldMatrix = TransMatrix;
    D3DXMatrixMultiply(&drawMatrix, &drawScale, &TransMatrix);
    IDirect3DDevice9* device = Graphics::get().device;
    BodyMesh.load(device, "data/Field/Lift2.x");
    BoxMesh.load(device, "data/Field/LiftBox.x");
}

void Lift::Update() {
    // While the player is in the far area, the lifts wait.
    for (const CharaBase* player : game::objectsOfKind(KIND_PLAYER)) {
        if (player->TransMatrix._43 < arena::FAR_AREA_Z) return;
    }
    FieldMesh = game::arenaMesh();

    D3DXVec3Normalize(&Velocity, &Velocity);
    Velocity *= STEP;
    if (Mode == 0) {
        Move += Velocity;
    } else {
        Move -= Velocity;
    }
    // Tested after the move and before the count: the first leg runs legLength + 2
    // frames, every later one legLength + 1.
    if (legFrames > legLength) {
        Mode = (Mode == 0) ? 1 : 0;
        legFrames = 0;
    }
    ++legFrames;

    D3DXMatrixTranslation(&TransMatrix, Move.x, Move.y, Move.z);
    D3DXMatrixScaling(&ScaleMatrix, Scale, Scale, Scale);
    D3DXMatrixMultiply(&WorldMatrix, &ScaleMatrix, &TransMatrix);
    D3DXMatrixMultiply(&drawMatrix, &drawScale, &TransMatrix);
}

void Lift::Draw() { game::drawModel(BodyMesh, drawMatrix); }
