// Sample.fx on the OpenGL renderer: a textured cube drawn as the game draws meshes
// (vertex and index buffers of 32-byte vertices, DrawIndexedPrimitive inside the effect's
// pass), lit at every pixel from the normal blended across each face; faces turned away are
// culled and nearer faces hide farther ones.
#include "DisplayDeviceFixture.h"
#include "EffectFiles.h"

#include <d3dx9.h>

#include <cmath>
#include <cstring>

using namespace d3d9test;

namespace {

struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

// The texel centres of the 2 x 2 test texture: red, green / blue, white.
const float kRedUv[2] = {0.25f, 0.25f};
const float kBlueUv[2] = {0.25f, 0.75f};

class DisplayEffectTest : public DisplayDeviceTest {
protected:
    void SetUp() override {
        DisplayDeviceTest::SetUp();
        if (IsSkipped()) return;
        ID3DXBuffer* errors = nullptr;
        ASSERT_EQ(D3DXCreateEffectFromFileA(device, sampleEffectPath(), nullptr, nullptr, 0, nullptr, &effect, &errors),
                  D3D_OK)
            << bufferText(errors);
        makeTexture();
        makeCube();
        setCamera(0.0f);
        setLight(D3DXVECTOR3(0.0f, 0.0f, 1.0f));
        setMaterial(D3DXVECTOR4(1.0f, 1.0f, 1.0f, 1.0f), D3DXVECTOR4(0.0f, 0.0f, 0.0f, 1.0f), 8.0f);
        device->SetRenderState(D3DRS_LIGHTING, TRUE);
    }
    void TearDown() override {
        if (device) {
            device->SetStreamSource(0, nullptr, 0, 0);
            device->SetIndices(nullptr);
        }
        if (effect) effect->Release();
        if (texture) texture->Release();
        if (vertices) vertices->Release();
        if (indices) indices->Release();
        DisplayDeviceTest::TearDown();
    }

    void makeTexture() {
        const DWORD texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
        makeTexture2x2(D3DFMT_A8R8G8B8, texels, &texture);
    }

    // A cube from -1 to 1; each face's corners go clockwise seen from outside, and the
    // face toward -z (the camera) is red, every other face blue.
    void makeCube() {
        const struct {
            float n[3], u[3], v[3];
        } faces[6] = {{{0, 0, -1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}},
                      {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}},   {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
                      {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}},   {{0, -1, 0}, {-1, 0, 0}, {0, 0, 1}}};
        const float corner[4][2] = {{-1, 1}, {1, 1}, {1, -1}, {-1, -1}};
        MeshVertex cube[24];
        WORD cubeIndices[36];
        for (int f = 0; f < 6; ++f) {
            const float* uv = f == 0 ? kRedUv : kBlueUv;
            for (int c = 0; c < 4; ++c) {
                MeshVertex& out = cube[f * 4 + c];
                float p[3];
                for (int i = 0; i < 3; ++i)
                    p[i] = faces[f].n[i] + corner[c][0] * faces[f].u[i] + corner[c][1] * faces[f].v[i];
                out = {p[0], p[1], p[2], faces[f].n[0], faces[f].n[1], faces[f].n[2], uv[0], uv[1]};
            }
            const WORD base = WORD(f * 4);
            const WORD quad[6] = {base, WORD(base + 1), WORD(base + 2), base, WORD(base + 2), WORD(base + 3)};
            std::memcpy(cubeIndices + f * 6, quad, sizeof quad);
        }
        ASSERT_EQ(device->CreateVertexBuffer(sizeof cube, 0, 0x112, D3DPOOL_MANAGED, &vertices, nullptr), D3D_OK);
        ASSERT_EQ(device->CreateIndexBuffer(sizeof cubeIndices, 0, D3DFMT_INDEX16, D3DPOOL_MANAGED, &indices, nullptr),
                  D3D_OK);
        void* data = nullptr;
        vertices->Lock(0, 0, &data, 0);
        std::memcpy(data, cube, sizeof cube);
        vertices->Unlock();
        indices->Lock(0, 0, &data, 0);
        std::memcpy(data, cubeIndices, sizeof cubeIndices);
        indices->Unlock();
    }

    // The camera 5 units in front of the cube (toward -z), looking at it; the cube turned
    // by yaw radians about y.
    void setCamera(float yaw) {
        D3DXVECTOR3 eye(0.0f, 0.0f, -5.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
        D3DXMATRIX view, projection, world;
        D3DXMatrixLookAtLH(&view, &eye, &at, &up);
        D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 4.0f, 1280.0f / 720.0f, 1.0f, 100.0f);
        D3DXMatrixRotationY(&world, yaw);
        effect->SetMatrix("mV", &view);
        effect->SetMatrix("mP", &projection);
        effect->SetMatrix("mW", &world);
        effect->SetValue("CamPos", &eye, 12);
    }

    void setLight(const D3DXVECTOR3& direction) {
        effect->SetValue("LightDir", &direction, 12);
        const D3DXVECTOR4 colour(0.8f, 0.8f, 0.8f, 1.0f), ambient(0.1f, 0.1f, 0.1f, 1.0f), specular(1, 1, 1, 1);
        effect->SetVector("LightColor", &colour);
        effect->SetVector("LightAmbient", &ambient);
        effect->SetVector("LightSpecular", &specular);
    }

    void setMaterial(const D3DXVECTOR4& diffuse, const D3DXVECTOR4& specular, float power) {
        effect->SetVector("MateDiffuse", &diffuse);
        effect->SetVector("MateSpecular", &specular);
        effect->SetFloat("MateSpePower", power);
        effect->SetTexture("MateDiffuseTex", texture);
    }

    // What ModelEffect::drawMesh does for one subset.
    void drawCube() {
        device->SetFVF(0x112);
        device->SetStreamSource(0, vertices, 0, sizeof(MeshVertex));
        device->SetIndices(indices);
        effect->SetTechnique("Tech");
        effect->Begin(nullptr, 0);
        effect->BeginPass(0);
        effect->CommitChanges();
        ASSERT_EQ(device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 24, 0, 12), D3D_OK);
        effect->EndPass();
        effect->End();
    }

    velmora::Rgba centre() { return readBack().pixel(640, 360); }

    ID3DXEffect* effect = nullptr;
    IDirect3DTexture9* texture = nullptr;
    IDirect3DVertexBuffer9* vertices = nullptr;
    IDirect3DIndexBuffer9* indices = nullptr;
};

TEST_F(DisplayEffectTest, FaceLitStraightOnShowsTextureTimesDiffuseAndLightPlusAmbient) {
    setMaterial(D3DXVECTOR4(1.0f, 0.5f, 0.25f, 1.0f), D3DXVECTOR4(0, 0, 0, 1), 8.0f);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    drawCube();
    // Red texel x (1, 0.5, 0.25) x (0.8 + 0.1): only red survives the texture.
    EXPECT_TRUE(colourNear(centre(), 230, 0, 0));

    setLight(D3DXVECTOR3(0.0f, 0.0f, -1.0f));  // from behind the cube: ambient only
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    drawCube();
    EXPECT_TRUE(colourNear(centre(), 26, 0, 0));
}

// Where the pixel column x (at the height of the centre) meets the front face at z = -1:
// the camera at (0, 0, -5) sees 4 * tan(pi / 8) * 16 / 9 to either side at that depth, and
// Direct3D's pixel centres lie on whole pixels.
float frontFaceX(int column) {
    return (float(column) / 640.0f - 1.0f) * 4.0f * std::tan(D3DX_PI / 8.0f) * 16.0f / 9.0f;
}

// The Blinn-Phong highlight at (x, 0, -1) on the front face, seen from the camera with the
// light along +z: (N . H) ^ power with N = -z.
float frontFaceHighlight(float x, float power) {
    D3DXVECTOR3 toEye(0.0f - x, 0.0f, -5.0f + 1.0f), toLight(0.0f, 0.0f, -1.0f), halfway;
    D3DXVec3Normalize(&toEye, &toEye);
    const D3DXVECTOR3 sum = toLight + toEye;
    D3DXVec3Normalize(&halfway, &sum);
    return std::pow(-halfway.z, power);
}

// The highlight is worked out at every pixel: full in the middle of the face, where it
// mirrors the light into the eye, and fading toward the sides, faster the higher the power.
TEST_F(DisplayEffectTest, TheHighlightIsWorkedOutAtEveryPixel) {
    for (const float power : {64.0f, 8.0f}) {
        setMaterial(D3DXVECTOR4(0.5f, 0.5f, 0.5f, 1.0f), D3DXVECTOR4(0.5f, 0.5f, 0.5f, 1.0f), power);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        drawCube();
        velmora::Image image = readBack();
        // Red 0.5 x 0.9 plus the highlight, green and blue the highlight alone.
        for (const int column : {640, 450}) {
            const float highlight = 0.5f * frontFaceHighlight(frontFaceX(column), power);
            const int red = int((0.45f + highlight) * 255.0f + 0.5f), grey = int(highlight * 255.0f + 0.5f);
            EXPECT_TRUE(colourNear(image.pixel(column, 360), red, grey, grey, 3))
                << "power " << power << ", column " << column;
        }
    }

    // Without a lit side there is no highlight: the light from behind leaves the ambient.
    setLight(D3DXVECTOR3(0.0f, 0.0f, -1.0f));
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    drawCube();
    EXPECT_TRUE(colourNear(centre(), 13, 0, 0, 3));
}

// Corners of different normals blend their normals across the face, and each pixel is lit
// by its own: normals bent toward +x at the right edge make the face darker there, and in
// the middle the blended normal, made whole again, lies halfway between (22.5 degrees), which
// is brighter than the average of the two edges' light.
TEST_F(DisplayEffectTest, NormalsBlendBetweenCornersAndEachPixelIsLitByItsOwn) {
    const float side = std::sqrt(0.5f);
    void* data = nullptr;
    vertices->Lock(0, 0, &data, 0);
    auto* front = static_cast<MeshVertex*>(data);  // corners: top-left, top-right, bottom-right, bottom-left
    for (int c = 0; c < 4; ++c) {
        const bool left = c == 0 || c == 3;
        front[c].nx = left ? 0.0f : side;
        front[c].nz = left ? -1.0f : -side;
    }
    vertices->Unlock();
    setMaterial(D3DXVECTOR4(1.0f, 1.0f, 1.0f, 1.0f), D3DXVECTOR4(0, 0, 0, 1), 8.0f);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    drawCube();
    velmora::Image image = readBack();
    // The face is square to the view, so the normal blends in proportion to x: 0.8 cos(angle
    // to the light) + 0.1 of red.
    for (const int column : {430, 640, 850}) {
        const float share = (frontFaceX(column) + 1.0f) / 2.0f;
        D3DXVECTOR3 normal((1.0f - share) * D3DXVECTOR3(0.0f, 0.0f, -1.0f) + share * D3DXVECTOR3(side, 0.0f, -side));
        D3DXVec3Normalize(&normal, &normal);
        const int red = int((0.8f * -normal.z + 0.1f) * 255.0f + 0.5f);
        EXPECT_TRUE(colourNear(image.pixel(column, 360), red, 0, 0, 3)) << "column " << column;
    }
    EXPECT_GT(image.pixel(640, 360).r, (image.pixel(430, 360).r + image.pixel(850, 360).r) / 2 + 8);
}

TEST_F(DisplayEffectTest, TurnedFacesAreDimmerAndBackFacesAreCulled) {
    setCamera(D3DX_PI / 4.0f);  // two faces at 45 degrees to the light and the eye
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    drawCube();
    velmora::Image image = readBack();
    // Left of the centre line is the red front face turned away by 45 degrees:
    // 0.8 * cos 45 + 0.1 of red.
    EXPECT_TRUE(colourNear(image.pixel(600, 360), 170, 0, 0, 3));
    // Right of it the blue side face, equally turned.
    EXPECT_TRUE(colourNear(image.pixel(680, 360), 0, 0, 170, 3));
    EXPECT_TRUE(velmora::writePng(image, screenshotPath("d3d9_lit_cube")));

    // Without the depth test only culling keeps the far faces out of sight.
    setCamera(0.0f);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    drawCube();
    EXPECT_TRUE(colourNear(centre(), 230, 0, 0, 3));

    // With culling off the back face, drawn later, covers the front one...
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    drawCube();
    EXPECT_EQ(centre().r, 0);
    EXPECT_GT(centre().b, 0);

    // ...unless the depth test keeps the nearer one.
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    drawCube();
    EXPECT_TRUE(colourNear(centre(), 230, 0, 0, 3));
}

// The device's alpha test applies to the effect's output alpha (texel alpha x material
// alpha, here 0.4 = 102), whichever test the pass was last drawn with.
TEST_F(DisplayEffectTest, TheAlphaTestKeepsOrDropsTheEffectsPixels) {
    setMaterial(D3DXVECTOR4(1.0f, 1.0f, 1.0f, 0.4f), D3DXVECTOR4(0, 0, 0, 1), 8.0f);
    auto drawnWith = [&](BOOL test, D3DCMPFUNC func, DWORD ref) {
        device->SetRenderState(D3DRS_ALPHATESTENABLE, test);
        device->SetRenderState(D3DRS_ALPHAFUNC, func);
        device->SetRenderState(D3DRS_ALPHAREF, ref);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
        drawCube();
        return centre().r > 100;
    };
    EXPECT_TRUE(drawnWith(FALSE, D3DCMP_NEVER, 0));
    EXPECT_FALSE(drawnWith(TRUE, D3DCMP_GREATER, 128));
    EXPECT_TRUE(drawnWith(TRUE, D3DCMP_GREATER, 64));
    EXPECT_TRUE(drawnWith(TRUE, D3DCMP_EQUAL, 102));
    EXPECT_FALSE(drawnWith(TRUE, D3DCMP_NEVER, 0));
    EXPECT_TRUE(drawnWith(FALSE, D3DCMP_NEVER, 0));
    EXPECT_FALSE(drawnWith(TRUE, D3DCMP_LESS, 102));
}

// Blended as the game blends (SRCALPHA, INVSRCALPHA) over a blue background: an opaque
// material covers it, a half see-through one lets half of it through, and the alpha test
// still judges the opaque one.
TEST_F(DisplayEffectTest, BlendingAndTheAlphaTestStillActOnWhatIsNotOpaque) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    auto drawnOverBlue = [&](float alpha, D3DCMPFUNC test, DWORD ref) {
        setMaterial(D3DXVECTOR4(1.0f, 0.5f, 0.25f, alpha), D3DXVECTOR4(0, 0, 0, 1), 8.0f);
        device->SetRenderState(D3DRS_ALPHATESTENABLE, test != D3DCMP_ALWAYS);
        device->SetRenderState(D3DRS_ALPHAFUNC, test);
        device->SetRenderState(D3DRS_ALPHAREF, ref);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF0000FF, 1.0f, 0);
        drawCube();
        return centre();
    };
    EXPECT_TRUE(colourNear(drawnOverBlue(1.0f, D3DCMP_ALWAYS, 0), 230, 0, 0));
    EXPECT_TRUE(colourNear(drawnOverBlue(0.5f, D3DCMP_ALWAYS, 0), 115, 0, 128));
    EXPECT_TRUE(colourNear(drawnOverBlue(1.0f, D3DCMP_GREATER, 254), 230, 0, 0));
    EXPECT_TRUE(colourNear(drawnOverBlue(1.0f, D3DCMP_LESS, 255), 0, 0, 255, 0));
    EXPECT_TRUE(colourNear(drawnOverBlue(0.5f, D3DCMP_GREATER, 200), 0, 0, 255, 0));
}

TEST_F(DisplayEffectTest, CompileErrorsComeBackWithTheFilesLineNumbers) {
    TemporaryEffectFile broken(
        "@technique Tech\n"
        "@parameter float4 Tint\n"
        "@vertex\n"
        "void main() {\n"
        "    gl_Position = d3dPosition(vec4(inPosition, 1.0));\n"
        "}\n"
        "@fragment\n"
        "out vec4 colour;\n"
        "void main() {\n"
        "    colour = Tint * undeclared;\n"  // line 10
        "}\n");
    ID3DXEffect* failed = reinterpret_cast<ID3DXEffect*>(1);
    ID3DXBuffer* errors = nullptr;
    EXPECT_EQ(D3DXCreateEffectFromFileA(device, broken.path(), nullptr, nullptr, 0, nullptr, &failed, &errors),
              E_FAIL);
    EXPECT_EQ(failed, nullptr);
    const std::string text = bufferText(errors);
    EXPECT_NE(text.find(broken.path()), std::string::npos) << text;
    EXPECT_NE(text.find("fragment"), std::string::npos) << text;
    EXPECT_NE(text.find("undeclared"), std::string::npos) << text;
    EXPECT_NE(text.find(":10("), std::string::npos) << text;
    if (errors) errors->Release();
}

}  // namespace
