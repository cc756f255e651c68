// Textures, meshes drawn through the model effect, and sprites.
#include <velmora/DrawLog.h>

#include "Application.h"
#include "GameFixture.h"
#include "Graphics.h"
#include "Mesh.h"
#include "TestFiles.h"

namespace {

using velmora::DrawKind;
using velmora::DrawRecord;

std::vector<const DrawRecord*> recordsOf(DrawKind kind) {
    std::vector<const DrawRecord*> found;
    for (const DrawRecord& record : velmora::drawLog().pending())
        if (record.kind == kind) found.push_back(&record);
    return found;
}

void expectVector(const velmora::LoggedEffectParameter* parameter, float r, float g, float b, float a) {
    ASSERT_NE(parameter, nullptr);
    EXPECT_FLOAT_EQ(parameter->values[0], r);
    EXPECT_FLOAT_EQ(parameter->values[1], g);
    EXPECT_FLOAT_EQ(parameter->values[2], b);
    EXPECT_FLOAT_EQ(parameter->values[3], a);
}

}  // namespace

class RenderTest : public gametest::GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        ASSERT_TRUE(startApplication());
    }

    TempDir folder;
};

TEST_F(RenderTest, PicturesKeepTheirSourceSizeWhetherOrNotTheTextureIsRounded) {
    std::string picture = folder.write("wide.bmp", solidBmp(100, 60, 0x336699));
    D3DSURFACE_DESC level;

    Texture exact;
    ASSERT_TRUE(exact.load(picture.c_str(), true));
    exact.texture->GetLevelDesc(0, &level);
    EXPECT_EQ(level.Width, 100u);
    EXPECT_EQ(level.Height, 60u);
    EXPECT_EQ(exact.rect.right, 100);
    EXPECT_EQ(exact.rect.bottom, 60);

    Texture rounded;
    ASSERT_TRUE(rounded.load(picture.c_str(), false));
    rounded.texture->GetLevelDesc(0, &level);
    EXPECT_EQ(level.Width, 128u);
    EXPECT_EQ(level.Height, 64u);
    EXPECT_EQ(rounded.info.Width, 100u);
    EXPECT_EQ(rounded.rect.left, 0);
    EXPECT_EQ(rounded.rect.top, 0);
    EXPECT_EQ(rounded.rect.right, 100);
    EXPECT_EQ(rounded.rect.bottom, 60);

    rounded.release();
    EXPECT_EQ(rounded.texture, nullptr);
    EXPECT_EQ(rounded.rect.right, 0);
    EXPECT_EQ(rounded.info.Width, 0u);
}

TEST_F(RenderTest, AMissingPictureLeavesTheTextureEmpty) {
    Texture picture;
    ASSERT_TRUE(picture.load(folder.write("a.bmp", solidBmp(4, 4, 0)).c_str(), true));
    EXPECT_FALSE(picture.load((folder.path() + "/missing.png").c_str(), true));
    EXPECT_EQ(picture.texture, nullptr);
    EXPECT_EQ(picture.rect.right, 0);
}

TEST_F(RenderTest, CreatedTexturesAreFilledTexelByTexel) {
    Texture texture;
    ASSERT_TRUE(texture.create(3, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED));
    EXPECT_EQ(texture.info.Width, 3u);
    EXPECT_EQ(texture.info.Height, 2u);
    EXPECT_EQ(texture.info.MipLevels, 1u);
    EXPECT_EQ(texture.rect.right, 3);
    ASSERT_TRUE(texture.fill(0x80FF2010, 0));

    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture.texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    for (int y = 0; y < 2; ++y) {
        const DWORD* row = reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < 3; ++x) EXPECT_EQ(row[x], 0x80FF2010u) << x << "," << y;
    }
    texture.texture->UnlockRect(0);

    Texture empty;
    EXPECT_FALSE(empty.fill(0xFFFFFFFF, 0));
}

TEST_F(RenderTest, MeshesLoadTheirMaterialsAndPicturesFromTheirOwnFolder) {
    folder.write("models/stripes.bmp", solidBmp(16, 16, 0x00FF00));
    std::string file = folder.write("models/quad.x", twoMaterialQuad("stripes.bmp"));
    Mesh model;
    ASSERT_TRUE(model.load(Graphics::get().device, file.c_str()));
    ASSERT_EQ(model.materialCount, 2u);
    ASSERT_NE(model.mesh, nullptr);
    EXPECT_FLOAT_EQ(model.materials[0].Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(model.materials[0].Power, 20.0f);
    EXPECT_FLOAT_EQ(model.materials[1].Diffuse.a, 0.5f);
    for (DWORD i = 0; i < 2; ++i) {
        EXPECT_FLOAT_EQ(model.materials[i].Ambient.r, model.materials[i].Diffuse.r);
        EXPECT_FLOAT_EQ(model.materials[i].Ambient.g, model.materials[i].Diffuse.g);
        EXPECT_FLOAT_EQ(model.materials[i].Ambient.a, model.materials[i].Diffuse.a);
    }
    EXPECT_EQ(model.textures[0].texture, nullptr);
    ASSERT_NE(model.textures[1].texture, nullptr);
    EXPECT_EQ(model.textures[1].rect.right, 16);

    model.release();
    EXPECT_EQ(model.mesh, nullptr);
    EXPECT_EQ(model.materialCount, 0u);
    EXPECT_EQ(model.textures, nullptr);
}

TEST_F(RenderTest, DrawMeshDrawsEachMaterialWithItsColoursAndPicture) {
    ASSERT_NE(Application::get().modelEffect.effect, nullptr);
    folder.write("stripes.bmp", solidBmp(16, 16, 0x00FF00));
    Mesh model;
    ASSERT_TRUE(model.load(Graphics::get().device, folder.write("quad.x", twoMaterialQuad("stripes.bmp")).c_str()));

    velmora::resetDrawLog();
    Application::get().modelEffect.drawMesh(model);
    std::vector<const DrawRecord*> draws = recordsOf(DrawKind::IndexedPrimitive);
    ASSERT_EQ(draws.size(), 2u);

    EXPECT_TRUE(draws[0]->effectActive);
    expectVector(draws[0]->effectParameter("MateDiffuse"), 1.0f, 0.0f, 0.0f, 1.0f);
    ASSERT_NE(draws[0]->effectParameter("MateSpePower"), nullptr);
    EXPECT_FLOAT_EQ(draws[0]->effectParameter("MateSpePower")->values[0], 20.0f);
    ASSERT_NE(draws[0]->effectParameter("MateDiffuseTex"), nullptr);
    EXPECT_EQ(draws[0]->effectParameter("MateDiffuseTex")->texture,
              Application::get().modelEffect.whiteTexture.texture)
        << "a material without a picture draws through the white texture";

    expectVector(draws[1]->effectParameter("MateDiffuse"), 0.0f, 1.0f, 0.0f, 0.5f);
    const velmora::LoggedEffectParameter* specular = draws[1]->effectParameter("MateSpecular");
    ASSERT_NE(specular, nullptr);
    EXPECT_FLOAT_EQ(specular->values[0], 0.25f);
    EXPECT_FLOAT_EQ(draws[1]->effectParameter("MateSpePower")->values[0], 8.0f);
    EXPECT_EQ(draws[1]->effectParameter("MateDiffuseTex")->texture, model.textures[1].texture);
}

TEST_F(RenderTest, AMaterialWhosePictureIsMissingDrawsWithTheWhiteTexture) {
    Mesh model;
    ASSERT_TRUE(model.load(Graphics::get().device, folder.write("quad.x", twoMaterialQuad("absent.png")).c_str()));
    EXPECT_EQ(model.textures[1].texture, nullptr);
    velmora::resetDrawLog();
    Application::get().modelEffect.drawMesh(model);
    std::vector<const DrawRecord*> draws = recordsOf(DrawKind::IndexedPrimitive);
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_EQ(draws[1]->effectParameter("MateDiffuseTex")->texture,
              Application::get().modelEffect.whiteTexture.texture);
}

TEST_F(RenderTest, AMeshThatFailsToLoadDrawsNothing) {
    Mesh model;
    EXPECT_FALSE(model.load(Graphics::get().device, (folder.path() + "/missing.x").c_str()));
    EXPECT_EQ(model.mesh, nullptr);
    EXPECT_EQ(model.materialCount, 0u);
    velmora::resetDrawLog();
    Application::get().modelEffect.drawMesh(model);
    EXPECT_TRUE(recordsOf(DrawKind::IndexedPrimitive).empty());
}

TEST_F(RenderTest, SpritesDrawWholePicturesAndKeepTheLastTransform) {
    Texture picture;
    ASSERT_TRUE(picture.load(folder.write("p.bmp", solidBmp(40, 20, 0xFFFFFF)).c_str(), true));
    Graphics& graphics = Graphics::get();
    D3DXMATRIX moved;
    D3DXMatrixTranslation(&moved, 100.0f, 50.0f, 1.0f);

    velmora::resetDrawLog();
    graphics.device->BeginScene();
    graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    graphics.drawSprite(&picture, 0xFFFFFFFF, &moved);
    graphics.drawSprite(&picture, 0x80000000, nullptr);
    graphics.drawSprite(nullptr, 0xFFFFFFFF, &moved);
    graphics.sprite->End();
    graphics.device->EndScene();

    std::vector<const DrawRecord*> sprites = recordsOf(DrawKind::Sprite);
    ASSERT_EQ(sprites.size(), 2u) << "a null picture draws nothing";
    for (const DrawRecord* sprite : sprites) {
        EXPECT_EQ(sprite->sprite.texture, picture.texture);
        EXPECT_EQ(sprite->sprite.sourceRect.right, 40);
        EXPECT_EQ(sprite->sprite.sourceRect.bottom, 20);
        EXPECT_FLOAT_EQ(sprite->sprite.transform._41, 100.0f);
        EXPECT_FLOAT_EQ(sprite->sprite.transform._42, 50.0f);
        EXPECT_FLOAT_EQ(sprite->sprite.corners[0].x, 100.0f);
        EXPECT_FLOAT_EQ(sprite->sprite.corners[2].x, 140.0f);
    }
    EXPECT_EQ(sprites[0]->sprite.color, 0xFFFFFFFFu);
    EXPECT_EQ(sprites[1]->sprite.color, 0x80000000u);
}
