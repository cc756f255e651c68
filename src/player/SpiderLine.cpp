#include "SpiderLine.h"

SpiderLine::SpiderLine() {
    D3DXMatrixScaling(&ScaleMatrix, Scale, Scale, Scale);
    D3DXMatrixMultiply(&WorldMatrix, &ScaleMatrix, &TransMatrix);
    Kind = KIND_SPIDER_LINE;
}

void SpiderLine::Update() {}

void SpiderLine::Draw() {}
