#include "SubField.h"

#include "GameHelpers.h"
#include "Graphics.h"

SubField g_subField;

SubField::SubField() {
    D3DXMatrixScaling(&scale, 25.0f, 30.0f, 25.0f);
    world = scale;
    D3DXMatrixInverse(&inverseWorld, nullptr, &world);
}

SubField::~SubField() { Release(); }

void SubField::Load() { mesh.load(Graphics::get().device, "data/Field/SubField2.x"); }

void SubField::Draw() { game::drawModel(mesh, world); }

void SubField::Release() { mesh.release(); }
