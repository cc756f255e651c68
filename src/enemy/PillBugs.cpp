#include "PillBugs.h"

PillBugs::PillBugs() {
    D3DXMatrixTranslation(&TransMatrix, -93.0f, 15.0f, -47.0f);
    D3DXMatrixScaling(&ScaleMatrix, 9.0f, 9.0f, 9.0f);
    D3DXMatrixMultiply(&WorldMatrix, &ScaleMatrix, &TransMatrix);
    Life = 8;
    GaugeShown = 400;
    Active = 1;
    Kind = KIND_PILLBUGS;
}

void PillBugs::Update() {}

void PillBugs::Draw() {}
