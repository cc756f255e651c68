// Direct3D 9's fixed-function pipeline in GLSL: world, view and projection transforms,
// vertex lighting from the enabled directional lights and the material (or the vertex
// colour), and texture stage 0 (SELECTARG, MODULATE, ADD with TEXTURE, DIFFUSE/CURRENT and
// TFACTOR arguments). Later stages are not emulated; point and spot lights do not light.
//
// One program is built per combination of the states that shape the shader (lighting,
// stage 0's operations, a texture or none, the alpha function), so that each is compiled
// down to just what it needs; a game uses a handful.
#pragma once

#include "DeviceState.h"

#include <map>
#include <memory>
#include <tuple>

namespace velmora::d3d9 {

struct FixedFunctionKey {
    bool lighting;
    bool hasTexture;
    DWORD colorOp, colorArg1, colorArg2;
    DWORD alphaOp, alphaArg1, alphaArg2;
    DWORD alphaFunc;  // D3DCMP_ALWAYS while the alpha test is off
    bool sharpened;   // a 2D picture in a frame drawn larger than the back buffer

    static FixedFunctionKey of(const DeviceState& state, bool hasTexture, D3DCMPFUNC alphaFunc, float frameScale);
    bool operator<(const FixedFunctionKey& other) const {
        auto fields = [](const FixedFunctionKey& k) {
            return std::tie(k.lighting, k.hasTexture, k.colorOp, k.colorArg1, k.colorArg2, k.alphaOp, k.alphaArg1,
                            k.alphaArg2, k.alphaFunc, k.sharpened);
        };
        return fields(*this) < fields(other);
    }
};

class FixedFunctionProgram {
public:
    // Null when the program does not build (a broken GL driver).
    static std::unique_ptr<FixedFunctionProgram> create(const FixedFunctionKey& key);
    ~FixedFunctionProgram();
    FixedFunctionProgram(const FixedFunctionProgram&) = delete;
    FixedFunctionProgram& operator=(const FixedFunctionProgram&) = delete;

    unsigned program() const { return program_; }
    // Makes the program current and loads the device state into it; the texture of stage 0
    // is read from texture unit 0. Lighting takes the material colours from the vertex
    // colour only when the vertices have one. `frameScale` is drawn pixels per back-buffer
    // pixel: 2D pictures are sampled for that size.
    void use(const DeviceState& state, bool vertexHasDiffuse, float frameScale);

private:
    FixedFunctionProgram(unsigned program, bool lighting);

    unsigned program_;
    bool lighting_;
    int world_, view_, projection_;
    int lightCount_, lightDirection_, lightDiffuse_, lightAmbient_;
    int ambient_, materialDiffuse_, materialAmbient_, materialEmissive_, diffuseFromVertex_, ambientFromVertex_;
    int textureFactor_;
    int sharpness_;
};

// The programs built so far, by key.
class FixedFunctionPrograms {
public:
    // Null when the program for this state does not build. `alphaFunc` is the alpha test
    // the draw needs (D3DCMP_ALWAYS for none); `frameScale` as for use().
    FixedFunctionProgram* select(const DeviceState& state, bool hasTexture, D3DCMPFUNC alphaFunc, float frameScale);

private:
    std::map<FixedFunctionKey, std::unique_ptr<FixedFunctionProgram>> programs_;
};

}  // namespace velmora::d3d9
