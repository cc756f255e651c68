// The OpenGL renderer leaves out blending and the alpha test for draws whose fragments all
// have alpha 1. Calling a draw opaque when one of its fragments is not would lose what
// shows through it, so each source of alpha is tested on both sides: textures (every mip
// level, rewritten ones, X8R8G8B8), vertex colours, the texture factor, lighting's material,
// the stage operations and the effect's declared factors.
#include "EffectFiles.h"
#include "HeadlessDeviceFixture.h"

#include "d3d9/DeviceInternals.h"
#include "d3d9/OpaqueFragments.h"
#include "d3d9/VertexBuffer.h"

#include <d3dx9.h>

#include <cstring>
#include <vector>

using namespace d3d9test;
using velmora::d3d9::DeviceState;
using velmora::d3d9::DrawCall;
using velmora::d3d9::VertexFormat;

namespace {

struct ColourVertex {
    float x, y, z;
    D3DCOLOR color;
};
const DWORD kColourFvf = D3DFVF_XYZ | D3DFVF_DIFFUSE;

class OpaqueFragmentsTest : public HeadlessDeviceTest {
protected:
    OpaqueFragmentsTest() : state(1280, 720, true) {
        // The sprite's stage: texture times vertex colour, alpha likewise.
        setStage(D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE);
        state.renderStates[D3DRS_LIGHTING] = FALSE;
    }
    void TearDown() override {
        for (IDirect3DTexture9* texture : textures) texture->Release();
        HeadlessDeviceTest::TearDown();
    }

    void setStage(DWORD alphaOp, DWORD arg1, DWORD arg2) {
        state.stageStates[0][D3DTSS_COLOROP] = D3DTOP_MODULATE;
        state.stageStates[0][D3DTSS_ALPHAOP] = alphaOp;
        state.stageStates[0][D3DTSS_ALPHAARG1] = arg1;
        state.stageStates[0][D3DTSS_ALPHAARG2] = arg2;
    }

    // A 4 x 4 texture with mip levels, every texel `texel`, except texel 0 of level `oddLevel`.
    IDirect3DTexture9* texture(D3DFORMAT format, DWORD texel, UINT oddLevel = UINT(-1), DWORD odd = 0) {
        IDirect3DTexture9* made = nullptr;
        EXPECT_EQ(device->CreateTexture(4, 4, 0, 0, format, D3DPOOL_MANAGED, &made, nullptr), D3D_OK);
        for (UINT l = 0; l < made->GetLevelCount(); ++l) {
            D3DSURFACE_DESC desc{};
            made->GetLevelDesc(l, &desc);
            D3DLOCKED_RECT locked{};
            made->LockRect(l, &locked, nullptr, 0);
            for (UINT y = 0; y < desc.Height; ++y)
                for (UINT x = 0; x < desc.Width; ++x)
                    static_cast<DWORD*>(locked.pBits)[y * locked.Pitch / 4 + x] =
                        l == oddLevel && x + y == 0 ? odd : texel;
            made->UnlockRect(l);
        }
        textures.push_back(made);
        return made;
    }

    // A DrawPrimitiveUP of one triangle with these vertex alphas (none: no vertex colour).
    bool opaque(std::vector<BYTE> alphas = {0xFF, 0xFF, 0xFF}) {
        vertices.clear();
        for (BYTE alpha : alphas) vertices.push_back({0, 0, 0, D3DCOLOR(alpha) << 24 | 0x808080});
        const bool coloured = !alphas.empty();
        const DrawCall call{state, DrawCall::Source::User, D3DPT_TRIANGLELIST, 1, 3,
                            VertexFormat::fromFvf(coloured ? kColourFvf : D3DFVF_XYZ),
                            coloured ? UINT(sizeof(ColourVertex)) : UINT(3 * sizeof(float)),
                            reinterpret_cast<const BYTE*>(coloured ? static_cast<const void*>(vertices.data())
                                                                   : static_cast<const void*>(kPositions)),
                            nullptr, 0, 0, nullptr, 0, 0, nullptr, true};
        return velmora::d3d9::fragmentsAreOpaque(call);
    }

    static constexpr float kPositions[9] = {};
    DeviceState state;
    std::vector<ColourVertex> vertices;
    std::vector<IDirect3DTexture9*> textures;
};

TEST_F(OpaqueFragmentsTest, TexturesAreOpaqueOnlyWhenEveryTexelOfEveryLevelIs) {
    state.textures[0] = texture(D3DFMT_A8R8G8B8, 0xFF336699);
    EXPECT_TRUE(opaque());
    state.textures[0] = texture(D3DFMT_A8R8G8B8, 0xFF336699, 0, 0xFE336699);
    EXPECT_FALSE(opaque()) << "one texel of the top level";
    state.textures[0] = texture(D3DFMT_A8R8G8B8, 0xFF336699, 2, 0x00000000);
    EXPECT_FALSE(opaque()) << "one texel of the 1 x 1 level";
    state.textures[0] = texture(D3DFMT_X8R8G8B8, 0x00336699);
    EXPECT_TRUE(opaque()) << "X8R8G8B8 has no alpha to read";
    state.textures[0] = nullptr;
    EXPECT_TRUE(opaque()) << "no texture reads as white";

    // A texel written after the texture was judged opaque counts.
    IDirect3DTexture9* rewritten = texture(D3DFMT_A8R8G8B8, 0xFF336699);
    state.textures[0] = rewritten;
    EXPECT_TRUE(opaque());
    D3DLOCKED_RECT locked{};
    rewritten->LockRect(1, &locked, nullptr, 0);
    static_cast<DWORD*>(locked.pBits)[1] = 0x80336699;
    rewritten->UnlockRect(1);
    EXPECT_FALSE(opaque());
}

TEST_F(OpaqueFragmentsTest, VertexColoursTheTextureFactorAndTheStageOperations) {
    state.textures[0] = texture(D3DFMT_A8R8G8B8, 0x80336699);  // see-through
    EXPECT_FALSE(opaque());
    setStage(D3DTOP_SELECTARG2, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    EXPECT_TRUE(opaque());
    EXPECT_FALSE(opaque({0xFF, 0xFE, 0xFF}));
    EXPECT_TRUE(opaque({})) << "no vertex colour reads as opaque white";
    setStage(D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    EXPECT_TRUE(opaque()) << "a sum clamped at 1";
    EXPECT_FALSE(opaque({0xFF, 0xFF, 0x00}));
    setStage(D3DTOP_MODULATE2X, D3DTA_TEXTURE, D3DTA_DIFFUSE);
    EXPECT_FALSE(opaque());
    setStage(D3DTOP_SELECTARG1, D3DTA_DIFFUSE | D3DTA_COMPLEMENT, D3DTA_TEXTURE);
    EXPECT_FALSE(opaque()) << "1 minus the vertex alpha";
    setStage(D3DTOP_SELECTARG1, D3DTA_TFACTOR, D3DTA_TEXTURE);
    state.renderStates[D3DRS_TEXTUREFACTOR] = 0xFF000000;
    EXPECT_TRUE(opaque());
    state.renderStates[D3DRS_TEXTUREFACTOR] = 0xFE000000;
    EXPECT_FALSE(opaque());
    setStage(D3DTOP_SELECTARG1, D3DTA_SPECULAR, D3DTA_TEXTURE);
    EXPECT_FALSE(opaque());

    // With stage 0's alpha (or all of it) off, the vertex alpha passes through.
    setStage(D3DTOP_DISABLE, D3DTA_TEXTURE, D3DTA_TEXTURE);
    EXPECT_TRUE(opaque());
    EXPECT_FALSE(opaque({0x00, 0xFF, 0xFF}));
    setStage(D3DTOP_SELECTARG1, D3DTA_TEXTURE, D3DTA_TEXTURE);
    state.stageStates[0][D3DTSS_COLOROP] = D3DTOP_DISABLE;
    EXPECT_TRUE(opaque());
}

TEST_F(OpaqueFragmentsTest, WithLightingTheMaterialOrTheVertexColourGivesTheAlpha) {
    setStage(D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_TEXTURE);
    state.renderStates[D3DRS_LIGHTING] = TRUE;
    state.renderStates[D3DRS_COLORVERTEX] = FALSE;
    state.material.Diffuse = {1, 1, 1, 1};
    EXPECT_TRUE(opaque({0x00, 0x00, 0x00})) << "the material, not the vertices";
    state.material.Diffuse.a = 0.5f;
    EXPECT_FALSE(opaque());
    state.renderStates[D3DRS_COLORVERTEX] = TRUE;
    state.renderStates[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    EXPECT_TRUE(opaque()) << "the vertices, not the material";
    EXPECT_FALSE(opaque({0xFF, 0x7F, 0xFF}));
    EXPECT_FALSE(opaque({})) << "no vertex colour: the material again";
}

TEST_F(OpaqueFragmentsTest, BuffersVerticesAreNotReadForTheirColours) {
    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(device->CreateVertexBuffer(3 * sizeof(ColourVertex), 0, kColourFvf, D3DPOOL_MANAGED, &buffer, nullptr),
              D3D_OK);
    setStage(D3DTOP_SELECTARG1, D3DTA_DIFFUSE, D3DTA_TEXTURE);
    auto streamDraw = [&](DWORD fvf) {
        const VertexFormat format = VertexFormat::fromFvf(fvf);
        const DrawCall call{state, DrawCall::Source::Stream, D3DPT_TRIANGLELIST, 1, 3, format, format.size,
                            nullptr, velmora::d3d9::asVertexBuffer(buffer), 0, 0, nullptr, 0, 0, nullptr, true};
        return velmora::d3d9::fragmentsAreOpaque(call);
    };
    EXPECT_FALSE(streamDraw(kColourFvf));
    EXPECT_TRUE(streamDraw(D3DFVF_XYZ));
    buffer->Release();
}

TEST_F(OpaqueFragmentsTest, OnlyBlendsThatKeepAnOpaqueSourceAreLeftOut) {
    state.renderStates[D3DRS_SRCBLEND] = D3DBLEND_SRCALPHA;
    state.renderStates[D3DRS_DESTBLEND] = D3DBLEND_INVSRCALPHA;
    state.renderStates[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    EXPECT_TRUE(velmora::d3d9::blendKeepsOpaqueSource(state));
    state.renderStates[D3DRS_BLENDOP] = D3DBLENDOP_SUBTRACT;
    EXPECT_TRUE(velmora::d3d9::blendKeepsOpaqueSource(state));
    for (const DWORD op : {D3DBLENDOP_REVSUBTRACT, D3DBLENDOP_MIN, D3DBLENDOP_MAX}) {
        state.renderStates[D3DRS_BLENDOP] = op;
        EXPECT_FALSE(velmora::d3d9::blendKeepsOpaqueSource(state)) << "op " << op;
    }
    state.renderStates[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    state.renderStates[D3DRS_DESTBLEND] = D3DBLEND_ONE;  // additive
    EXPECT_FALSE(velmora::d3d9::blendKeepsOpaqueSource(state));
    state.renderStates[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    state.renderStates[D3DRS_SRCBLEND] = D3DBLEND_DESTCOLOR;  // multiplying
    EXPECT_FALSE(velmora::d3d9::blendKeepsOpaqueSource(state));

    // The game's blend: colour SRCALPHA / INVSRCALPHA, alpha ONE / INVSRCALPHA.
    state.renderStates[D3DRS_SRCBLEND] = D3DBLEND_SRCALPHA;
    state.renderStates[D3DRS_DESTBLEND] = D3DBLEND_INVSRCALPHA;
    state.renderStates[D3DRS_SEPARATEALPHABLENDENABLE] = TRUE;
    state.renderStates[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
    state.renderStates[D3DRS_DESTBLENDALPHA] = D3DBLEND_INVSRCALPHA;
    state.renderStates[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;
    EXPECT_TRUE(velmora::d3d9::blendKeepsOpaqueSource(state));
    state.renderStates[D3DRS_DESTBLENDALPHA] = D3DBLEND_ONE;
    EXPECT_FALSE(velmora::d3d9::blendKeepsOpaqueSource(state));
    state.renderStates[D3DRS_DESTBLENDALPHA] = D3DBLEND_INVSRCALPHA;
    state.renderStates[D3DRS_BLENDOPALPHA] = D3DBLENDOP_MAX;
    EXPECT_FALSE(velmora::d3d9::blendKeepsOpaqueSource(state));
}

TEST_F(OpaqueFragmentsTest, AlphaTestsThatPassAnAlphaOf255) {
    state.renderStates[D3DRS_ALPHATESTENABLE] = FALSE;
    state.renderStates[D3DRS_ALPHAFUNC] = D3DCMP_NEVER;
    EXPECT_TRUE(velmora::d3d9::alphaTestPassesOpaque(state));
    state.renderStates[D3DRS_ALPHATESTENABLE] = TRUE;
    const struct {
        DWORD func, ref;
        bool passes;
    } cases[] = {{D3DCMP_GREATER, 0, true},      {D3DCMP_GREATER, 255, false},   {D3DCMP_GREATEREQUAL, 255, true},
                 {D3DCMP_LESS, 255, false},      {D3DCMP_LESSEQUAL, 254, false}, {D3DCMP_LESSEQUAL, 255, true},
                 {D3DCMP_EQUAL, 255, true},      {D3DCMP_EQUAL, 128, false},     {D3DCMP_NOTEQUAL, 255, false},
                 {D3DCMP_NOTEQUAL, 0, true},     {D3DCMP_NEVER, 0, false},       {D3DCMP_ALWAYS, 0, true},
                 {D3DCMP_GREATER, 0x1FE, true},  {9, 0, false}};
    for (const auto& c : cases) {
        state.renderStates[D3DRS_ALPHAFUNC] = c.func;
        state.renderStates[D3DRS_ALPHAREF] = c.ref;
        EXPECT_EQ(velmora::d3d9::alphaTestPassesOpaque(state), c.passes) << "func " << c.func << " ref " << c.ref;
    }
}

// The model shader's alpha is its texel alpha times the material's alpha: the material as
// committed, the texture as it is on the stage when the draw comes.
TEST_F(OpaqueFragmentsTest, TheEffectsAlphaFactorsAsCommittedAndOnTheStage) {
    ID3DXEffect* effect = nullptr;
    ASSERT_EQ(D3DXCreateEffectFromFileA(device, sampleEffectPath(), nullptr, nullptr, 0, nullptr, &effect, nullptr),
              D3D_OK);
    auto* binding = dynamic_cast<velmora::d3d9::ShaderBinding*>(effect);
    ASSERT_NE(binding, nullptr);
    const D3DXVECTOR4 solid(0.3f, 0.3f, 0.3f, 1.0f), halfSeen(0.3f, 0.3f, 0.3f, 0.5f);
    effect->SetVector("MateDiffuse", &solid);
    effect->Begin(nullptr, 0);
    effect->BeginPass(0);
    state.textures[0] = texture(D3DFMT_A8R8G8B8, 0xFF336699);
    EXPECT_TRUE(binding->outputIsOpaque(state));
    effect->SetVector("MateDiffuse", &halfSeen);
    EXPECT_TRUE(binding->outputIsOpaque(state)) << "not committed yet";
    effect->CommitChanges();
    EXPECT_FALSE(binding->outputIsOpaque(state));
    effect->SetVector("MateDiffuse", &solid);
    effect->CommitChanges();
    state.textures[0] = texture(D3DFMT_A8R8G8B8, 0xFF336699, 1, 0x40000000);
    EXPECT_FALSE(binding->outputIsOpaque(state));
    state.textures[0] = nullptr;
    EXPECT_TRUE(binding->outputIsOpaque(state));
    effect->EndPass();
    effect->End();
    effect->Release();
}

TEST_F(OpaqueFragmentsTest, AlphaFactorsMustNameTexturesOrFloatComponents) {
    const std::string header = "@technique Tech\n@parameter texture Tex\n@parameter float3 Tint\n@parameter matrix M\n";
    const std::string stages = "@vertex\nvoid main() {}\n@fragment\nvoid main() {}\n";
    const struct {
        std::string line;
        const char* error;  // null: accepted
    } cases[] = {{"@alpha Tex Tint.z", nullptr},
                 {"@alpha Tint.b", nullptr},
                 {"@alpha Tint.w", "'Tint.w' is neither a texture nor a component of a float parameter"},
                 {"@alpha Tint", "'Tint' is neither"},
                 {"@alpha Tex.a", "'Tex.a' is neither"},
                 {"@alpha M.x", "'M.x' is neither"},
                 {"@alpha Tint.xy", "'Tint.xy' is neither"},
                 {"@alpha Other", "'Other' is neither"},
                 {"@alpha", "@alpha needs the factors of the alpha"},
                 {"@alpha Tex\n@alpha Tex", "only one @alpha is allowed"}};
    for (const auto& c : cases) {
        TemporaryEffectFile file(header + c.line + "\n" + stages);
        ID3DXEffect* made = nullptr;
        ID3DXBuffer* errors = nullptr;
        const HRESULT result =
            D3DXCreateEffectFromFileA(device, file.path(), nullptr, nullptr, 0, nullptr, &made, &errors);
        const std::string message = bufferText(errors);
        if (errors) errors->Release();
        if (made) made->Release();
        if (!c.error) {
            EXPECT_EQ(result, D3D_OK) << c.line << ": " << message;
        } else {
            EXPECT_TRUE(FAILED(result)) << c.line;
            EXPECT_NE(message.find(c.error), std::string::npos) << c.line << ": " << message;
        }
    }
}

}  // namespace
