// The arena: one static mesh drawn and ray-tested with Scaling(25, 30, 25). It is the
// ground and the walls of every query; objects copy its mesh pointer each frame.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "Mesh.h"

class SubField {
public:
    SubField();
    ~SubField();
    SubField(const SubField&) = delete;
    SubField& operator=(const SubField&) = delete;

    void Load();     // "data/Field/SubField2.x", at the start of a play
    void Draw();     // before the objects draw
    void Release();  // at the end of a play

    // Set once, together: the arena never moves, so the rays cast at it reuse its inverse.
    D3DXMATRIX world;
    D3DXMATRIX inverseWorld;
    D3DXMATRIX scale;
    Mesh mesh;
};

extern SubField g_subField;
