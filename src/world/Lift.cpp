#include "Lift.h"

#include "Application.h"
#include "Graphics.h"
#include "SceneManager.h"
#include "SubField.h"

namespace {

const float STEP = 0.1f;
// While the player is in the far area beyond this z, the lifts wait.
const float FREEZE_Z = -77.0f;

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
    const std::vector<CharaBase*>& objects = g_sceneManager->objects;
    for (size_t i = 0; i < objects.size(); ++i) {
        if (objects[i]->Kind == KIND_PLAYER && objects[i]->TransMatrix._43 < FREEZE_Z) return;
    }
    FieldMesh = g_subField.mesh.mesh;

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

void Lift::Draw() {
    ModelEffect& model = Application::get().modelEffect;
    if (model.effect) model.effect->SetMatrix("mW", &drawMatrix);
    model.drawMesh(BodyMesh);
}
