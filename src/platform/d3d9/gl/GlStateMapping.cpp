#include "GlStateMapping.h"

#include "GlDialect.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>

namespace velmora::d3d9 {

namespace {

GLenum blendFactor(DWORD blend) {
    switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE;
    }
}

GLenum blendEquation(DWORD op) {
    switch (op) {
    case D3DBLENDOP_SUBTRACT: return GL_FUNC_SUBTRACT;
    case D3DBLENDOP_REVSUBTRACT: return GL_FUNC_REVERSE_SUBTRACT;
    case D3DBLENDOP_MIN: return GL_MIN;
    case D3DBLENDOP_MAX: return GL_MAX;
    default: return GL_FUNC_ADD;
    }
}

GLenum compareFunction(DWORD func) {
    switch (func) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
    }
}

GLenum stencilOperation(DWORD op) {
    switch (op) {
    case D3DSTENCILOP_ZERO: return GL_ZERO;
    case D3DSTENCILOP_REPLACE: return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT: return GL_INCR;
    case D3DSTENCILOP_DECRSAT: return GL_DECR;
    case D3DSTENCILOP_INVERT: return GL_INVERT;
    case D3DSTENCILOP_INCR: return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR: return GL_DECR_WRAP;
    default: return GL_KEEP;
    }
}

GLenum wrapMode(DWORD address) {
    switch (address) {
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return gldialect::borderAddress();
    default: return GL_REPEAT;
    }
}

GLenum minFilter(DWORD min, DWORD mip) {
    const bool linear = min != D3DTEXF_POINT && min != D3DTEXF_NONE;
    if (mip == D3DTEXF_NONE) return linear ? GL_LINEAR : GL_NEAREST;
    if (mip == D3DTEXF_POINT) return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

// The driver's largest anisotropy, 1 when it has neither the EXT nor the ARB extension
// (both name the same enums).
float maxAnisotropy() {
    static float largest = 0.0f;  // not asked yet
    if (largest == 0.0f) {
        largest = 1.0f;
        if (epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
            epoxy_has_gl_extension("GL_ARB_texture_filter_anisotropic"))
            glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &largest);
    }
    return largest;
}

void enable(GLenum capability, bool on) { on ? glEnable(capability) : glDisable(capability); }

// A stencil test that passes every pixel and writes nothing changes nothing; left off, the
// depth test runs without it.
bool stencilChangesNothing(const DeviceState& state) {
    const bool keeps = state.renderState(D3DRS_STENCILWRITEMASK) == 0 ||
                       (state.renderState(D3DRS_STENCILZFAIL) == D3DSTENCILOP_KEEP &&
                        state.renderState(D3DRS_STENCILPASS) == D3DSTENCILOP_KEEP);
    return state.renderState(D3DRS_STENCILFUNC) == D3DCMP_ALWAYS && keeps;
}

}  // namespace

void applyRenderStates(const DeviceState& state, bool hasDepthBuffer) {
    const DWORD zEnable = state.renderState(D3DRS_ZENABLE);
    enable(GL_DEPTH_TEST, hasDepthBuffer && zEnable != D3DZB_FALSE);
    glDepthFunc(compareFunction(state.renderState(D3DRS_ZFUNC)));
    glDepthMask(state.renderState(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);

    const bool stencil = hasDepthBuffer && state.renderState(D3DRS_STENCILENABLE) && !stencilChangesNothing(state);
    enable(GL_STENCIL_TEST, stencil);
    if (stencil) {
        glStencilFunc(compareFunction(state.renderState(D3DRS_STENCILFUNC)), GLint(state.renderState(D3DRS_STENCILREF)),
                      state.renderState(D3DRS_STENCILMASK));
        glStencilOp(stencilOperation(state.renderState(D3DRS_STENCILFAIL)),
                    stencilOperation(state.renderState(D3DRS_STENCILZFAIL)),
                    stencilOperation(state.renderState(D3DRS_STENCILPASS)));
        glStencilMask(state.renderState(D3DRS_STENCILWRITEMASK));
    }

    const bool blend = state.renderState(D3DRS_ALPHABLENDENABLE) != FALSE;
    enable(GL_BLEND, blend);
    if (blend) {
        const GLenum src = blendFactor(state.renderState(D3DRS_SRCBLEND));
        const GLenum dst = blendFactor(state.renderState(D3DRS_DESTBLEND));
        const GLenum op = blendEquation(state.renderState(D3DRS_BLENDOP));
        if (state.renderState(D3DRS_SEPARATEALPHABLENDENABLE)) {
            glBlendFuncSeparate(src, dst, blendFactor(state.renderState(D3DRS_SRCBLENDALPHA)),
                                blendFactor(state.renderState(D3DRS_DESTBLENDALPHA)));
            glBlendEquationSeparate(op, blendEquation(state.renderState(D3DRS_BLENDOPALPHA)));
        } else {
            glBlendFunc(src, dst);
            glBlendEquation(op);
        }
    }

    // Direct3D's front faces are clockwise on screen; the framebuffer is not flipped, so
    // GL sees the same winding.
    const DWORD cull = state.renderState(D3DRS_CULLMODE);
    enable(GL_CULL_FACE, cull == D3DCULL_CW || cull == D3DCULL_CCW);
    glFrontFace(GL_CW);
    glCullFace(cull == D3DCULL_CW ? GL_FRONT : GL_BACK);

    const DWORD fill = state.renderState(D3DRS_FILLMODE);
    gldialect::setPolygonMode(fill == D3DFILL_WIREFRAME ? gldialect::Fill::Lines
                              : fill == D3DFILL_POINT   ? gldialect::Fill::Points
                                                        : gldialect::Fill::Solid);
    // Its rectangle is set at each draw: it is not a render state.
    enable(GL_SCISSOR_TEST, state.renderState(D3DRS_SCISSORTESTENABLE) != FALSE);

    const DWORD writes = state.renderState(D3DRS_COLORWRITEENABLE);
    glColorMask(writes & 1 ? GL_TRUE : GL_FALSE, writes & 2 ? GL_TRUE : GL_FALSE, writes & 4 ? GL_TRUE : GL_FALSE,
                writes & 8 ? GL_TRUE : GL_FALSE);
}

void applySamplerStates(unsigned glSampler, const DeviceState& state, DWORD sampler) {
    const auto& s = state.samplerStates[sampler];
    glSamplerParameteri(glSampler, GL_TEXTURE_MIN_FILTER, GLint(minFilter(s[D3DSAMP_MINFILTER], s[D3DSAMP_MIPFILTER])));
    glSamplerParameteri(glSampler, GL_TEXTURE_MAG_FILTER, s[D3DSAMP_MAGFILTER] == D3DTEXF_POINT ? GL_NEAREST : GL_LINEAR);
    glSamplerParameteri(glSampler, GL_TEXTURE_WRAP_S, GLint(wrapMode(s[D3DSAMP_ADDRESSU])));
    glSamplerParameteri(glSampler, GL_TEXTURE_WRAP_T, GLint(wrapMode(s[D3DSAMP_ADDRESSV])));
    const DWORD border = s[D3DSAMP_BORDERCOLOR];
    const float borderColour[4] = {((border >> 16) & 0xFF) / 255.0f, ((border >> 8) & 0xFF) / 255.0f,
                                   (border & 0xFF) / 255.0f, (border >> 24) / 255.0f};
    float bias;
    const DWORD biasBits = s[D3DSAMP_MIPMAPLODBIAS];
    std::memcpy(&bias, &biasBits, sizeof bias);
    gldialect::setBorderAndBias(glSampler, borderColour, bias);
    glSamplerParameterf(glSampler, GL_TEXTURE_MIN_LOD, float(s[D3DSAMP_MAXMIPLEVEL]));
    const float largest = maxAnisotropy();
    if (largest > 1.0f) {
        // Direct3D filters anisotropically only when asked by the filter, up to the
        // sampler's maximum.
        const bool anisotropic =
            s[D3DSAMP_MINFILTER] == D3DTEXF_ANISOTROPIC || s[D3DSAMP_MAGFILTER] == D3DTEXF_ANISOTROPIC;
        const float wanted = anisotropic ? float(std::max<DWORD>(s[D3DSAMP_MAXANISOTROPY], 1)) : 1.0f;
        glSamplerParameterf(glSampler, GL_TEXTURE_MAX_ANISOTROPY_EXT, std::min(wanted, largest));
    }
}

unsigned glPrimitive(D3DPRIMITIVETYPE type) {
    switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
    }
}

}  // namespace velmora::d3d9
