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
#if !LIGHTING
    diffuse = inDiffuse;
#else
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
#endif
}
)";

// Texture arguments and operations numbered as D3DTA_* and D3DTOP_*; the stage's are
// defined as constants for each program.
const char* kFragmentStage = R"(
in vec4 diffuse;
in vec2 texCoord;
uniform sampler2D stageTexture;
uniform vec4 textureFactor;
uniform float sharpness;
out vec4 fragColor;
// A 2D picture drawn at sharpness times its size in a larger frame: each texel keeps its
// own colour across its pixels and blends with its neighbour only in the last drawn pixel
// before the edge, as it does at its own size, rather than over the whole stretched texel.
// Sharpness 1 and minified textures sample as usual; the gradients keep the mip level.
// Only programs for such pictures carry this (the rest sample plainly, without its work).
vec4 sampleStage(vec2 uv) {
#if !SHARPENED
    return texture(stageTexture, uv);
#else
    if (sharpness <= 1.0) return texture(stageTexture, uv);
    vec2 size = vec2(textureSize(stageTexture, 0));
    vec2 texel = uv * size;
    vec2 pixelsPerTexel = clamp(1.0 / max(fwidth(texel), vec2(1e-6)), vec2(1.0), vec2(max(sharpness, 1.0)));
    vec2 fromCentre = fract(texel) - 0.5;
    vec2 hold = 0.5 - 0.5 / pixelsPerTexel;
    vec2 sharp = floor(texel) + 0.5 + (fromCentre - clamp(fromCentre, -hold, hold)) * pixelsPerTexel;
    return textureGrad(stageTexture, sharp / size, dFdx(uv), dFdy(uv));
#endif
}
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
#if HAS_TEXTURE
    vec4 texel = sampleStage(texCoord);
#else
    vec4 texel = vec4(1.0);
#endif
    vec4 colour = diffuse;
#if COLOR_OP != 1
    colour.rgb = operation(COLOR_OP, argument(COLOR_ARG1, texel), argument(COLOR_ARG2, texel)).rgb;
#if ALPHA_OP != 1
    colour.a = operation(ALPHA_OP, argument(ALPHA_ARG1, texel), argument(ALPHA_ARG2, texel)).a;
#endif
#endif
    fragColor = d3dFragment(clamp(colour, 0.0, 1.0));
}
)";

void setColour(int location, const D3DCOLORVALUE& c) { glUniform4f(location, c.r, c.g, c.b, c.a); }

void setArgb(int location, DWORD argb) {
    glUniform4f(location, ((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f,
                (argb >> 24) / 255.0f);
}

void setMatrix(int location, const D3DMATRIX& m) { glUniformMatrix4fv(location, 1, GL_FALSE, &m.m[0][0]); }

std::string define(const char* name, DWORD value) {
    return std::string("#define ") + name + " " + std::to_string(value) + "\n";
}

// An orthographic projection, as sprites use: a 2D picture.
bool flatProjection(const DeviceState& state) {
    const D3DMATRIX& p = state.projection;
    return p._14 == 0.0f && p._24 == 0.0f && p._34 == 0.0f && p._44 == 1.0f;
}

}  // namespace

FixedFunctionKey FixedFunctionKey::of(const DeviceState& state, bool hasTexture, D3DCMPFUNC alphaFunc,
                                      float frameScale) {
    return {state.renderState(D3DRS_LIGHTING) != FALSE,
            hasTexture,
            state.stageState(0, D3DTSS_COLOROP),
            state.stageState(0, D3DTSS_COLORARG1),
            state.stageState(0, D3DTSS_COLORARG2),
            state.stageState(0, D3DTSS_ALPHAOP),
            state.stageState(0, D3DTSS_ALPHAARG1),
            state.stageState(0, D3DTSS_ALPHAARG2),
            DWORD(alphaFunc),
            hasTexture && frameScale > 1.0f && flatProjection(state)};
}

std::unique_ptr<FixedFunctionProgram> FixedFunctionProgram::create(const FixedFunctionKey& key) {
    const std::string vertexDefines = define("LIGHTING", key.lighting);
    const std::string fragmentDefines = define("HAS_TEXTURE", key.hasTexture) + define("COLOR_OP", key.colorOp) +
                                        define("COLOR_ARG1", key.colorArg1) + define("COLOR_ARG2", key.colorArg2) +
                                        define("ALPHA_OP", key.alphaOp) + define("ALPHA_ARG1", key.alphaArg1) +
                                        define("ALPHA_ARG2", key.alphaArg2) +
                                        define("SHARPENED", key.sharpened);
    const D3DCMPFUNC alphaFunc = key.alphaFunc >= D3DCMP_NEVER && key.alphaFunc <= D3DCMP_ALWAYS
                                     ? D3DCMPFUNC(key.alphaFunc)
                                     : D3DCMP_ALWAYS;
    std::string log;
    unsigned program = buildGlProgram(vertexPrelude() + vertexDefines + kVertexStage,
                                      fragmentPrelude(alphaFunc) + fragmentDefines + kFragmentStage, log);
    if (!program) {
        std::fprintf(stderr, "velmora: fixed-function program: %s\n", log.c_str());
        return nullptr;
    }
    return std::unique_ptr<FixedFunctionProgram>(new FixedFunctionProgram(program, key.lighting));
}

FixedFunctionProgram::FixedFunctionProgram(unsigned program, bool lighting) : program_(program), lighting_(lighting) {
    auto at = [program](const char* name) { return glGetUniformLocation(program, name); };
    world_ = at("world");
    view_ = at("view");
    projection_ = at("projection");
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
    textureFactor_ = at("textureFactor");
    sharpness_ = at("sharpness");
    glUseProgram(program_);
    glUniform1i(at("stageTexture"), 0);
}

FixedFunctionProgram::~FixedFunctionProgram() { glDeleteProgram(program_); }

void FixedFunctionProgram::use(const DeviceState& state, bool vertexHasDiffuse, float frameScale) {
    glUseProgram(program_);
    // Only 2D pictures (an orthographic projection, as sprites use) are sharpened; 3D
    // surfaces are filtered as the sampler states say.
    glUniform1f(sharpness_, flatProjection(state) ? frameScale : 1.0f);
    setMatrix(world_, state.world);
    setMatrix(view_, state.view);
    setMatrix(projection_, state.projection);

    if (lighting_) {
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
    setArgb(textureFactor_, state.renderState(D3DRS_TEXTUREFACTOR));
}

FixedFunctionProgram* FixedFunctionPrograms::select(const DeviceState& state, bool hasTexture, D3DCMPFUNC alphaFunc,
                                                    float frameScale) {
    const FixedFunctionKey key = FixedFunctionKey::of(state, hasTexture, alphaFunc, frameScale);
    auto found = programs_.find(key);
    if (found == programs_.end()) found = programs_.emplace(key, FixedFunctionProgram::create(key)).first;
    return found->second.get();
}

}  // namespace velmora::d3d9
