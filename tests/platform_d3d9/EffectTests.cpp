// ID3DXEffect on the headless backend: the effect file is parsed and checked (no GLSL
// compile), parameters are set by name, and draws inside a pass record the values
// committed at BeginPass or CommitChanges.
#include "EffectFiles.h"
#include "HeadlessDeviceTest.h"

#include <d3dx9.h>

#include <cstring>

#include "velmora/DrawLog.h"

using namespace d3d9test;

namespace {

const char* const kSampleParameters[] = {"mW",          "mV",         "mP",           "LightDir",
                                         "LightColor",  "LightAmbient", "LightSpecular", "CamPos",
                                         "MateDiffuse", "MateSpecular", "MateSpePower",  "MateDiffuseTex"};

class EffectTest : public HeadlessDeviceTest {
protected:
    void SetUp() override {
        HeadlessDeviceTest::SetUp();
        ID3DXBuffer* errors = nullptr;
        ASSERT_EQ(D3DXCreateEffectFromFileA(device, sampleEffectPath(), nullptr, nullptr, 0, nullptr, &effect, &errors),
                  D3D_OK)
            << bufferText(errors);
        EXPECT_EQ(errors, nullptr);
    }
    void TearDown() override {
        if (effect) effect->Release();
        HeadlessDeviceTest::TearDown();
    }

    HRESULT create(const std::string& text, ID3DXEffect** out, std::string& message) {
        TemporaryEffectFile file(text);
        ID3DXBuffer* errors = nullptr;
        HRESULT result = D3DXCreateEffectFromFileA(device, file.path(), nullptr, nullptr, 0, nullptr, out, &errors);
        message = bufferText(errors);
        if (errors) errors->Release();
        return result;
    }

    ID3DXEffect* effect = nullptr;
};

TEST_F(EffectTest, SampleDeclaresTheGamesTechniqueAndParameters) {
    for (const char* name : kSampleParameters) {
        D3DXHANDLE handle = effect->GetParameterByName(nullptr, name);
        ASSERT_NE(handle, nullptr) << name;
        EXPECT_STREQ(handle, name);
    }
    EXPECT_EQ(effect->GetParameterByName(nullptr, "mWorld"), nullptr);
    EXPECT_STREQ(effect->GetTechniqueByName("Tech"), "Tech");
    EXPECT_EQ(effect->SetTechnique("Tech"), D3D_OK);
    EXPECT_EQ(effect->SetTechnique("Other"), D3DERR_INVALIDCALL);
    UINT passes = 0;
    ASSERT_EQ(effect->Begin(&passes, 0), D3D_OK);
    EXPECT_EQ(passes, 1u);
    EXPECT_EQ(effect->BeginPass(1), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->BeginPass(0), D3D_OK);
    EXPECT_EQ(effect->BeginPass(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->EndPass(), D3D_OK);
    EXPECT_EQ(effect->EndPass(), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->End(), D3D_OK);
    EXPECT_EQ(effect->End(), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->BeginPass(0), D3DERR_INVALIDCALL);
}

TEST_F(EffectTest, ValuesAreSetByNameWithTheirTypesRules) {
    D3DXVECTOR4 colour(0.1f, 0.2f, 0.3f, 0.4f);
    ASSERT_EQ(effect->SetVector("MateDiffuse", &colour), D3D_OK);
    D3DXVECTOR4 back;
    effect->GetVector("MateDiffuse", &back);
    EXPECT_EQ(back.w, 0.4f);

    // A vector set on a float3 is cut to three components.
    D3DXVECTOR4 eye(1.0f, 2.0f, 3.0f, 9.0f);
    ASSERT_EQ(effect->SetVector("CamPos", &eye), D3D_OK);
    effect->GetVector("CamPos", &back);
    EXPECT_EQ(back.z, 3.0f);
    EXPECT_EQ(back.w, 0.0f);

    // The Stage hands the light direction over as 12 raw bytes.
    const float direction[3] = {0.5f, -1.0f, 0.25f};
    ASSERT_EQ(effect->SetValue("LightDir", direction, sizeof direction), D3D_OK);
    float read[3] = {};
    ASSERT_EQ(effect->GetValue("LightDir", read, sizeof read), D3D_OK);
    EXPECT_EQ(std::memcmp(direction, read, sizeof read), 0);
    const float tooMuch[4] = {};
    EXPECT_EQ(effect->SetValue("LightDir", tooMuch, sizeof tooMuch), D3DERR_INVALIDCALL);

    ASSERT_EQ(effect->SetFloat("MateSpePower", 16.0f), D3D_OK);
    float power = 0.0f;
    effect->GetFloat("MateSpePower", &power);
    EXPECT_EQ(power, 16.0f);

    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, 1.0f, 2.0f, 3.0f);
    ASSERT_EQ(effect->SetMatrix("mW", &m), D3D_OK);
    D3DXMATRIX got;
    effect->GetMatrix("mW", &got);
    EXPECT_EQ(got._42, 2.0f);
    ASSERT_EQ(effect->SetMatrixTranspose("mW", &m), D3D_OK);
    effect->GetMatrix("mW", &got);
    EXPECT_EQ(got._24, 2.0f);
    EXPECT_EQ(got._42, 0.0f);

    EXPECT_EQ(effect->SetMatrix("MateDiffuse", &m), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetVector("mW", &colour), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetFloat("MateDiffuseTex", 1.0f), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetTexture("MateDiffuse", nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(effect->SetFloat("Missing", 1.0f), D3DERR_INVALIDCALL);
}

// A handle is read as the name it holds at each call, even when its storage is reused.
TEST_F(EffectTest, AHandleIsTheNameItHoldsAtTheCall) {
    D3DXMATRIX first, second;
    D3DXMatrixTranslation(&first, 1.0f, 0.0f, 0.0f);
    D3DXMatrixTranslation(&second, 2.0f, 0.0f, 0.0f);
    char name[16];
    std::strcpy(name, "mW");
    ASSERT_EQ(effect->SetMatrix(name, &first), D3D_OK);
    std::strcpy(name, "mV");
    ASSERT_EQ(effect->SetMatrix(name, &second), D3D_OK);
    std::strcpy(name, "mWorld");
    EXPECT_EQ(effect->SetMatrix(name, &second), D3DERR_INVALIDCALL);
    D3DXMATRIX got;
    effect->GetMatrix("mW", &got);
    EXPECT_EQ(got._41, 1.0f);
    effect->GetMatrix("mV", &got);
    EXPECT_EQ(got._41, 2.0f);
}

TEST_F(EffectTest, TexturesAreHeldWhileSet) {
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, nullptr), D3D_OK);
    ASSERT_EQ(effect->SetTexture("MateDiffuseTex", texture), D3D_OK);
    EXPECT_EQ(texture->Release(), 1u);
    IDirect3DBaseTexture9* got = nullptr;
    ASSERT_EQ(effect->GetTexture("MateDiffuseTex", &got), D3D_OK);
    EXPECT_EQ(got, texture);
    got->Release();
    effect->SetTexture("MateDiffuseTex", nullptr);  // releases the last reference
}

struct ModelVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
const ModelVertex kTriangle[3] = {{0, 0, 0, 0, 0, -1, 0, 0}, {1, 0, 0, 0, 0, -1, 1, 0}, {0, -1, 0, 0, 0, -1, 0, 1}};

TEST_F(EffectTest, DrawsInAPassRecordTheCommittedValues) {
    IDirect3DTexture9* white = nullptr;
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &white, nullptr), D3D_OK);
    D3DXMATRIX world;
    D3DXMatrixTranslation(&world, 0.0f, 5.0f, 0.0f);
    effect->SetMatrix("mW", &world);  // set before Begin, as the objects do
    D3DXVECTOR4 red(1, 0, 0, 1), blue(0, 0, 1, 1);
    device->SetFVF(0x112);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);  // the game's trilinear filtering

    effect->Begin(nullptr, 0);
    effect->SetVector("MateDiffuse", &red);
    effect->SetTexture("MateDiffuseTex", white);
    effect->BeginPass(0);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, kTriangle, sizeof(ModelVertex));
    effect->SetVector("MateDiffuse", &blue);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, kTriangle, sizeof(ModelVertex));  // not committed yet
    effect->CommitChanges();
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, kTriangle, sizeof(ModelVertex));
    effect->EndPass();
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, kTriangle, sizeof(ModelVertex));
    effect->End();

    const velmora::DrawFrame& frame = velmora::drawLog().pending();
    ASSERT_EQ(frame.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(frame[i].effectActive);
        const velmora::LoggedEffectParameter* mW = frame[i].effectParameter("mW");
        ASSERT_NE(mW, nullptr);
        EXPECT_EQ(mW->type, velmora::EffectParameterType::Matrix);
        EXPECT_EQ(mW->values[13], 5.0f);  // _42
        EXPECT_EQ(frame[i].effectParameter("MateDiffuseTex")->texture, white);
        EXPECT_EQ(frame[i].texture, white);  // the texture parameter is bound to stage 0
        EXPECT_EQ(frame[i].samplerState(D3DSAMP_MIPFILTER), DWORD(D3DTEXF_LINEAR)) << "the model shader keeps it";
    }
    EXPECT_EQ(frame[0].effectParameter("MateDiffuse")->values[0], 1.0f);
    EXPECT_EQ(frame[1].effectParameter("MateDiffuse")->values[0], 1.0f);
    EXPECT_EQ(frame[2].effectParameter("MateDiffuse")->values[2], 1.0f);
    EXPECT_FALSE(frame[3].effectActive);
    EXPECT_TRUE(frame[3].effectParameters.empty());

    IDirect3DBaseTexture9* stage0 = reinterpret_cast<IDirect3DBaseTexture9*>(1);
    device->GetTexture(0, &stage0);
    EXPECT_EQ(stage0, nullptr);  // End put back the stage's texture
    effect->SetTexture("MateDiffuseTex", nullptr);
    white->Release();
}

// Each commit carries every value set since the one before, whenever it was set.
TEST_F(EffectTest, EveryCommitCarriesWhatChangedSinceTheLast) {
    D3DXVECTOR4 red(1, 0, 0, 1), green(0, 1, 0, 1);
    device->SetFVF(0x112);
    auto drawInPass = [&](void (*between)(ID3DXEffect*)) {
        effect->Begin(nullptr, 0);
        effect->BeginPass(0);
        if (between) between(effect);
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, kTriangle, sizeof(ModelVertex));
        effect->EndPass();
        effect->End();
    };
    effect->SetVector("MateDiffuse", &red);
    effect->SetFloat("MateSpePower", 8.0f);
    drawInPass(nullptr);
    effect->SetFloat("MateSpePower", 30.0f);  // outside a pass: taken at the next BeginPass
    drawInPass(nullptr);
    drawInPass([](ID3DXEffect* e) {
        const D3DXVECTOR4 blue(0, 0, 1, 1);
        e->SetVector("MateSpecular", &blue);
        e->CommitChanges();
    });
    effect->SetVector("MateDiffuse", &green);
    drawInPass(nullptr);

    const velmora::DrawFrame& frame = velmora::drawLog().pending();
    ASSERT_EQ(frame.size(), 4u);
    const float power[4] = {8.0f, 30.0f, 30.0f, 30.0f};
    const float redPart[4] = {1.0f, 1.0f, 1.0f, 0.0f};
    const float bluePart[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(frame[i].effectParameter("MateSpePower")->values[0], power[i]) << "draw " << i;
        EXPECT_EQ(frame[i].effectParameter("MateDiffuse")->values[0], redPart[i]) << "draw " << i;
        EXPECT_EQ(frame[i].effectParameter("MateSpecular")->values[2], bluePart[i]) << "draw " << i;
    }
}

// BeginPass binds the effect's textures to their stages; CommitChanges passes on only the
// parameters set since, so a texture put on the stage in between stays until then.
TEST_F(EffectTest, CommitsPassOnOnlyTheTexturesSetSince) {
    IDirect3DTexture9 *picture = nullptr, *other = nullptr;
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &picture, nullptr), D3D_OK);
    ASSERT_EQ(device->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &other, nullptr), D3D_OK);
    auto stage0 = [&] {
        IDirect3DBaseTexture9* bound = nullptr;
        device->GetTexture(0, &bound);
        if (bound) bound->Release();
        return bound;
    };
    const D3DXVECTOR4 grey(0.5f, 0.5f, 0.5f, 1.0f);

    effect->SetTexture("MateDiffuseTex", picture);
    for (int round = 0; round < 2; ++round) {
        effect->Begin(nullptr, 0);
        effect->BeginPass(0);
        EXPECT_EQ(stage0(), picture) << "round " << round;
        device->SetTexture(0, other);
        effect->SetVector("MateDiffuse", &grey);
        effect->CommitChanges();
        EXPECT_EQ(stage0(), other) << "round " << round;
        effect->SetTexture("MateDiffuseTex", picture);
        effect->CommitChanges();
        EXPECT_EQ(stage0(), picture) << "round " << round;
        device->SetTexture(0, other);
        effect->EndPass();
        effect->End();
        EXPECT_EQ(stage0(), nullptr) << "round " << round;
    }

    effect->SetTexture("MateDiffuseTex", nullptr);
    other->Release();
    picture->Release();
}

TEST_F(EffectTest, ReleasingAnEffectInItsPassGoesBackToFixedFunction) {
    effect->Begin(nullptr, 0);
    effect->BeginPass(0);
    effect->Release();
    effect = nullptr;
    device->SetFVF(0x112);
    device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, kTriangle, sizeof(ModelVertex));
    ASSERT_EQ(velmora::drawLog().pending().size(), 1u);
    EXPECT_FALSE(velmora::drawLog().pending()[0].effectActive);
}

TEST_F(EffectTest, BrokenFilesFailWithTheReasonInTheErrorBuffer) {
    const std::string stages = "@vertex\nvoid main() {}\n@fragment\nvoid main() {}\n";
    const struct {
        std::string text;
        std::string expected;
    } cases[] = {
        {"@technique Tech\n@parameter float5 Strength\n" + stages, "(2): unknown parameter type 'float5'"},
        {"@technique Tech\n@parameter float A\n@parameter float4 A\n" + stages, "(3): parameter 'A' declared twice"},
        {"@parameter float A\n" + stages, "no @technique"},
        {"@technique Tech\n@technique Other\n" + stages, "(2): only one technique is supported"},
        {"@technique Tech\n@vertex\nvoid main() {}\n", "no @fragment stage"},
        {"@technique Tech\nfloat4 x;\n" + stages, "(2): unexpected 'float4 x;' in the header"},
        {"@technique Tech\n@sampler Tex MipFilter POINT\n" + stages,
         "(2): @sampler needs a texture parameter declared before it"},
        {"@technique Tech\n@parameter float Tex\n@sampler Tex MipFilter POINT\n" + stages,
         "(3): @sampler needs a texture parameter declared before it"},
        {"@technique Tech\n@parameter texture Tex\n@sampler Tex MipFilter WRAP\n" + stages,
         "(3): @sampler needs a texture, a state and its value"},
        {"@technique Tech\n@parameter texture Tex\n@sampler Tex MaxAnisotropy 4\n" + stages,
         "(3): @sampler needs a texture, a state and its value"},
        {"@technique Tech\n@parameter texture Tex\n@sampler Tex MipFilter POINT LINEAR\n" + stages,
         "(3): @sampler needs a texture, a state and its value"},
    };
    for (const auto& c : cases) {
        ID3DXEffect* broken = reinterpret_cast<ID3DXEffect*>(1);
        std::string message;
        EXPECT_TRUE(FAILED(create(c.text, &broken, message))) << c.text;
        EXPECT_EQ(broken, nullptr);
        EXPECT_NE(message.find(c.expected), std::string::npos) << message;
        EXPECT_NE(message.find("/tmp/velmora_effect_"), std::string::npos) << message;
    }
}

// As a D3DX sampler_state does, the pass sets its sampler states on the stages of their
// textures at BeginPass, and End puts back what was there unless told not to save state.
TEST_F(EffectTest, SamplerStatesAreSetForThePassAndRestoredAtEnd) {
    ID3DXEffect* twoTextures = nullptr;
    std::string message;
    ASSERT_EQ(create("@technique Tech\n@parameter texture Base\n@parameter texture Detail\n"
                     "@sampler Detail MipFilter POINT\n@sampler Detail AddressU CLAMP\n"
                     "@sampler Base MinFilter NONE\n"
                     "@vertex\nvoid main() {}\n@fragment\nvoid main() {}\n",
                     &twoTextures, message),
              D3D_OK)
        << message;
    auto sampler = [&](DWORD stage, D3DSAMPLERSTATETYPE type) {
        DWORD value = 0;
        device->GetSamplerState(stage, type, &value);
        return value;
    };
    device->SetSamplerState(1, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
    for (const DWORD flags : {DWORD(0), DWORD(D3DXFX_DONOTSAVESTATE)}) {
        ASSERT_EQ(twoTextures->Begin(nullptr, flags), D3D_OK);
        EXPECT_EQ(sampler(1, D3DSAMP_MIPFILTER), DWORD(D3DTEXF_LINEAR)) << "set at BeginPass, not Begin";
        ASSERT_EQ(twoTextures->BeginPass(0), D3D_OK);
        EXPECT_EQ(sampler(1, D3DSAMP_MIPFILTER), DWORD(D3DTEXF_POINT));
        EXPECT_EQ(sampler(1, D3DSAMP_ADDRESSU), DWORD(D3DTADDRESS_CLAMP));
        EXPECT_EQ(sampler(0, D3DSAMP_MINFILTER), DWORD(D3DTEXF_NONE));
        EXPECT_EQ(sampler(0, D3DSAMP_MIPFILTER), DWORD(D3DTEXF_NONE)) << "stage 0 keeps its own mip filter";
        twoTextures->EndPass();
        twoTextures->End();
        const bool saved = flags == 0;
        EXPECT_EQ(sampler(1, D3DSAMP_MIPFILTER), saved ? DWORD(D3DTEXF_LINEAR) : DWORD(D3DTEXF_POINT));
        EXPECT_EQ(sampler(1, D3DSAMP_ADDRESSU), saved ? DWORD(D3DTADDRESS_WRAP) : DWORD(D3DTADDRESS_CLAMP));
        EXPECT_EQ(sampler(0, D3DSAMP_MINFILTER), saved ? DWORD(D3DTEXF_POINT) : DWORD(D3DTEXF_NONE));
    }
    twoTextures->Release();
}

TEST_F(EffectTest, AMissingFileFails) {
    ID3DXEffect* missing = nullptr;
    ID3DXBuffer* errors = nullptr;
    EXPECT_TRUE(FAILED(D3DXCreateEffectFromFileA(device, "Shader/NoSuch.fx", nullptr, nullptr, 0, nullptr, &missing,
                                                 &errors)));
    EXPECT_EQ(missing, nullptr);
    EXPECT_NE(bufferText(errors).find("Shader/NoSuch.fx"), std::string::npos);
    if (errors) errors->Release();
    EXPECT_EQ(D3DXCreateEffectFromFileA(device, "Shader/NoSuch.fx", nullptr, nullptr, 0, nullptr, nullptr, nullptr),
              D3DERR_INVALIDCALL);
}

}  // namespace
