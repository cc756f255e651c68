#include "GlslPrelude.h"

#include "GlDialect.h"

namespace velmora::d3d9 {

namespace {

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
    return std::string(gldialect::kGlslVersion) + R"(layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
)" + gldialect::kDiffuseInput + R"(layout(location = 3) in vec2 inTexCoord;
uniform vec2 velmoraPixelOffset;
vec4 d3dPosition(vec4 clip) {
    return vec4(clip.x + clip.w * velmoraPixelOffset.x, clip.y - clip.w * velmoraPixelOffset.y,
                2.0 * clip.z - clip.w, clip.w);
}
)";
}

std::string fragmentPrelude(D3DCMPFUNC alphaFunc) {
    return std::string(gldialect::kGlslVersion) + "#define VELMORA_ALPHA_FUNC " + std::to_string(int(alphaFunc)) + "\n" + kAlphaTest;
}

}  // namespace velmora::d3d9
