// The one shader effect every model is drawn with ("Shader/Sample.fx", technique "Tech").
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "Mesh.h"
#include "Texture.h"

class ModelEffect {
public:
    ModelEffect();
    ModelEffect(const ModelEffect&) = delete;
    ModelEffect& operator=(const ModelEffect&) = delete;

    // Compiles the effect; a compile error is shown in a message box and leaves the
    // effect null, so that every later drawMesh draws nothing.
    void load();
    // Draws every material of the mesh with the current "mW", "mV", "mP" and light values.
    void drawMesh(const Mesh& model);

    ID3DXEffect* effect;
    Texture whiteTexture;  // bound for materials without a picture of their own
};
