// Direct3D 9's fixed-function pipeline as one GLSL program: world, view and projection
// transforms, vertex lighting from the enabled directional lights and the material (or
// the vertex colour), and texture stage 0 (SELECTARG, MODULATE, ADD with TEXTURE,
// DIFFUSE/CURRENT and TFACTOR arguments). Later stages are not emulated; point and spot
// lights do not light.
#pragma once

#include "DeviceState.h"

namespace velmora::d3d9 {

class FixedFunctionProgram {
public:
    // Null when the program does not build (a broken GL driver).
    static FixedFunctionProgram* create();
    ~FixedFunctionProgram();
    FixedFunctionProgram(const FixedFunctionProgram&) = delete;
    FixedFunctionProgram& operator=(const FixedFunctionProgram&) = delete;

    unsigned program() const { return program_; }
    // Makes the program current and loads the device state into it; the texture of stage 0
    // is read from texture unit 0 when hasTexture. Lighting takes the material colours from
    // the vertex colour only when the vertices have one.
    void use(const DeviceState& state, bool hasTexture, bool vertexHasDiffuse);

private:
    explicit FixedFunctionProgram(unsigned program);

    unsigned program_;
    int world_, view_, projection_;
    int lighting_, lightCount_, lightDirection_, lightDiffuse_, lightAmbient_;
    int ambient_, materialDiffuse_, materialAmbient_, materialEmissive_, diffuseFromVertex_, ambientFromVertex_;
    int hasTexture_, stageTexture_, colorOp_, colorArgs_, alphaOp_, alphaArgs_, textureFactor_;
};

}  // namespace velmora::d3d9
