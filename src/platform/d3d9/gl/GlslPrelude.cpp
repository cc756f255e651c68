#include "GlslPrelude.h"

namespace velmora::d3d9 {

namespace {

// The browser's WebGL 2 speaks GLSL ES 3.00, which has no default float precision in the
// fragment stage and cannot read vertex colours as GL_BGRA: they arrive as D3DCOLOR's B, G,
// R, A bytes and the prelude puts them in order.
#ifdef __EMSCRIPTEN__
const char* kVersion = "#version 300 es\nprecision highp float;\nprecision highp int;\n";
const char* kDiffuseInput = "layout(location = 2) in vec4 velmoraDiffuseBgra;\n#define inDiffuse velmoraDiffuseBgra.zyxw\n";
#else
const char* kVersion = "#version 330 core\n";
const char* kDiffuseInput = "layout(location = 2) in vec4 inDiffuse;\n";
#endif

// Alpha functions numbered as D3DCMPFUNC (1 never ... 8 always); the test compares the
// alpha as the 8-bit value Direct3D compares with D3DRS_ALPHAREF.
const char* kAlphaTest = R"(uniform float velmoraAlphaRef;
vec4 d3dFragment(vec4 colour) {
    float a = floor(clamp(colour.a, 0.0, 1.0) * 255.0 + 0.5);
    float r = velmoraAlphaRef;
    bool pass = VELMORA_ALPHA_FUNC == 8 || (VELMORA_ALPHA_FUNC == 2 && a < r) || (VELMORA_ALPHA_FUNC == 3 && a == r) ||
                (VELMORA_ALPHA_FUNC == 4 && a <= r) || (VELMORA_ALPHA_FUNC == 5 && a > r) ||
                (VELMORA_ALPHA_FUNC == 6 && a != r) || (VELMORA_ALPHA_FUNC == 7 && a >= r);
    if (!pass) discard;
    return colour;
}
)";

}  // namespace

std::string vertexPrelude() {
    return std::string(kVersion) + R"(layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
)" + kDiffuseInput + R"(layout(location = 3) in vec2 inTexCoord;
uniform vec2 velmoraPixelOffset;
vec4 d3dPosition(vec4 clip) {
    return vec4(clip.x + clip.w * velmoraPixelOffset.x, clip.y - clip.w * velmoraPixelOffset.y,
                2.0 * clip.z - clip.w, clip.w);
}
)";
}

std::string fragmentPrelude(D3DCMPFUNC alphaFunc) {
    return std::string(kVersion) + "#define VELMORA_ALPHA_FUNC " + std::to_string(int(alphaFunc)) + "\n" + kAlphaTest;
}

}  // namespace velmora::d3d9
