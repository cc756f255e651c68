#include "SubField.h"

#include "Application.h"
#include "Graphics.h"

SubField g_subField;

SubField::SubField() {
    D3DXMatrixScaling(&scale, 25.0f, 30.0f, 25.0f);
    world = scale;
}

SubField::~SubField() { Release(); }

void SubField::Load() { mesh.load(Graphics::get().device, "data/Field/SubField2.x"); }

void SubField::Draw() {
    ModelEffect& model = Application::get().modelEffect;
    if (model.effect) model.effect->SetMatrix("mW", &world);
    model.drawMesh(mesh);
}

void SubField::Release() { mesh.release(); }
