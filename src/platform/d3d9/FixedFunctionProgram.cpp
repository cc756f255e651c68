#include "FixedFunctionProgram.h"

#include "GlProgram.h"
#include "GlslPrelude.h"

#include <epoxy/gl.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace velmora::d3d9 {

namespace {

constexpr int kMaxLights = 8;

const char* kVertexStage = R"(
uniform mat4 world;
uniform mat4 view;
uniform mat4 projection;
uniform bool lighting;
uniform int lightCount;
uniform vec3 lightDirection[8];
uniform vec4 lightDiffuse[8];
uniform vec4 lightAmbient[8];
uniform vec4 ambient;
uniform vec4 materialDiffuse;
uniform vec4 materialAmbient;
uniform vec4 materialEmissive;
uniform bool diffuseFromVertex;
uniform bool ambientFromVertex;
out vec4 diffuse;
out vec2 texCoord;
void main() {
    gl_Position = d3dPosition(projection * view * world * vec4(inPosition, 1.0));
    texCoord = inTexCoord;
    if (!lighting) {
        diffuse = inDiffuse;
        return;
    }
    vec4 matDiffuse = diffuseFromVertex ? inDiffuse : materialDiffuse;
    vec4 matAmbient = ambientFromVertex ? inDiffuse : materialAmbient;
    vec3 normal = mat3(world) * inNormal;
    float length2 = dot(normal, normal);
    normal = length2 > 0.0 ? normal * inversesqrt(length2) : vec3(0.0);
    vec3 lit = ambient.rgb * matAmbient.rgb + materialEmissive.rgb;
    for (int i = 0; i < lightCount; ++i) {
        lit += lightAmbient[i].rgb * matAmbient.rgb;
        lit += max(dot(normal, -lightDirection[i]), 0.0) * lightDiffuse[i].rgb * matDiffuse.rgb;
    }
    diffuse = vec4(clamp(lit, 0.0, 1.0), matDiffuse.a);
}
)";

// Texture arguments and operations numbered as D3DTA_* and D3DTOP_*.
const char* kFragmentStage = R"(
in vec4 diffuse;
in vec2 texCoord;
uniform bool hasTexture;
uniform sampler2D stageTexture;
uniform int colorOp;
uniform ivec2 colorArgs;
uniform int alphaOp;
uniform ivec2 alphaArgs;
uniform vec4 textureFactor;
out vec4 fragColor;
vec4 argument(int arg, vec4 texel) {
    int source = arg & 15;
    vec4 value = source == 2 ? texel : source == 3 ? textureFactor : source == 4 ? vec4(0.0) : diffuse;
    if ((arg & 16) != 0) value = vec4(1.0) - value;
    if ((arg & 32) != 0) value = vec4(value.a);
    return value;
}
vec4 operation(int op, vec4 a, vec4 b) {
    if (op == 2) return a;
    if (op == 3) return b;
    if (op == 5) return 2.0 * a * b;
    if (op == 6) return 4.0 * a * b;
    if (op == 7) return a + b;
    return a * b;
}
void main() {
    vec4 texel = hasTexture ? texture(stageTexture, texCoord) : vec4(1.0);
    vec4 colour = diffuse;
    if (colorOp != 1) {
        colour.rgb = operation(colorOp, argument(colorArgs.x, texel), argument(colorArgs.y, texel)).rgb;
        if (alphaOp != 1)
            colour.a = operation(alphaOp, argument(alphaArgs.x, texel), argument(alphaArgs.y, texel)).a;
    }
    fragColor = d3dFragment(clamp(colour, 0.0, 1.0));
}
)";

void setColour(int location, const D3DCOLORVALUE& c) { glUniform4f(location, c.r, c.g, c.b, c.a); }

void setArgb(int location, DWORD argb) {
    glUniform4f(location, ((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                (argb >> 24) / 255.0f);
}

void setMatrix(int location, const D3DMATRIX& m) { glUniformMatrix4fv(location, 1, GL_FALSE, &m.m[0][0]); }

}  // namespace

FixedFunctionProgram* FixedFunctionProgram::create() {
    std::string log;
    unsigned program = buildGlProgram(std::string(vertexPrelude()) + kVertexStage,
                                      std::string(fragmentPrelude()) + kFragmentStage, log);
    if (!program) {
        std::fprintf(stderr, "velmora: fixed-function program: %s\n", log.c_str());
        return nullptr;
    }
    return new FixedFunctionProgram(program);
}

FixedFunctionProgram::FixedFunctionProgram(unsigned program) : program_(program) {
    auto at = [program](const char* name) { return glGetUniformLocation(program, name); };
    world_ = at("world");
    view_ = at("view");
    projection_ = at("projection");
    lighting_ = at("lighting");
    lightCount_ = at("lightCount");
    lightDirection_ = at("lightDirection");
    lightDiffuse_ = at("lightDiffuse");
    lightAmbient_ = at("lightAmbient");
    ambient_ = at("ambient");
    materialDiffuse_ = at("materialDiffuse");
    materialAmbient_ = at("materialAmbient");
    materialEmissive_ = at("materialEmissive");
    diffuseFromVertex_ = at("diffuseFromVertex");
    ambientFromVertex_ = at("ambientFromVertex");
    hasTexture_ = at("hasTexture");
    stageTexture_ = at("stageTexture");
    colorOp_ = at("colorOp");
    colorArgs_ = at("colorArgs");
    alphaOp_ = at("alphaOp");
    alphaArgs_ = at("alphaArgs");
    textureFactor_ = at("textureFactor");
    glUseProgram(program_);
    glUniform1i(stageTexture_, 0);
}

FixedFunctionProgram::~FixedFunctionProgram() { glDeleteProgram(program_); }

void FixedFunctionProgram::use(const DeviceState& state, bool hasTexture, bool vertexHasDiffuse) {
    glUseProgram(program_);
    setMatrix(world_, state.world);
    setMatrix(view_, state.view);
    setMatrix(projection_, state.projection);

    const bool lighting = state.renderState(D3DRS_LIGHTING) != FALSE;
    glUniform1i(lighting_, lighting);
    if (lighting) {
        float directions[kMaxLights][3];
        float diffuse[kMaxLights][4];
        float ambient[kMaxLights][4];
        int count = 0;
        for (const auto& [index, slot] : state.lights) {
            if (!slot.enabled || slot.light.Type != D3DLIGHT_DIRECTIONAL || count == kMaxLights) continue;
            const D3DVECTOR& d = slot.light.Direction;
            const float length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
            const float scale = length > 0.0f ? 1.0f / length : 0.0f;
            directions[count][0] = d.x * scale;
            directions[count][1] = d.y * scale;
            directions[count][2] = d.z * scale;
            const D3DCOLORVALUE& c = slot.light.Diffuse;
            const D3DCOLORVALUE& a = slot.light.Ambient;
            diffuse[count][0] = c.r, diffuse[count][1] = c.g, diffuse[count][2] = c.b, diffuse[count][3] = c.a;
            ambient[count][0] = a.r, ambient[count][1] = a.g, ambient[count][2] = a.b, ambient[count][3] = a.a;
            ++count;
        }
        glUniform1i(lightCount_, count);
        if (count > 0) {
            glUniform3fv(lightDirection_, count, &directions[0][0]);
            glUniform4fv(lightDiffuse_, count, &diffuse[0][0]);
            glUniform4fv(lightAmbient_, count, &ambient[0][0]);
        }
        setArgb(ambient_, state.renderState(D3DRS_AMBIENT));
        setColour(materialDiffuse_, state.material.Diffuse);
        setColour(materialAmbient_, state.material.Ambient);
        setColour(materialEmissive_, state.material.Emissive);
        const bool colorVertex = vertexHasDiffuse && state.renderState(D3DRS_COLORVERTEX) != FALSE;
        glUniform1i(diffuseFromVertex_,
                    colorVertex && state.renderState(D3DRS_DIFFUSEMATERIALSOURCE) == D3DMCS_COLOR1);
        glUniform1i(ambientFromVertex_,
                    colorVertex && state.renderState(D3DRS_AMBIENTMATERIALSOURCE) == D3DMCS_COLOR1);
    }

    glUniform1i(hasTexture_, hasTexture);
    glUniform1i(colorOp_, int(state.stageState(0, D3DTSS_COLOROP)));
    glUniform2i(colorArgs_, int(state.stageState(0, D3DTSS_COLORARG1)), int(state.stageState(0, D3DTSS_COLORARG2)));
    glUniform1i(alphaOp_, int(state.stageState(0, D3DTSS_ALPHAOP)));
    glUniform2i(alphaArgs_, int(state.stageState(0, D3DTSS_ALPHAARG1)), int(state.stageState(0, D3DTSS_ALPHAARG2)));
    setArgb(textureFactor_, state.renderState(D3DRS_TEXTUREFACTOR));
}

}  // namespace velmora::d3d9
