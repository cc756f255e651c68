// ID3DXSprite on the headless device: each Draw is recorded at Flush in call order with
// its rectangle, colour, transform and pixel corners; the device's state is saved and
// restored around Begin and End.
#include "HeadlessDeviceTest.h"

#include <d3dx9.h>

#include "velmora/DrawLog.h"

namespace {

class SpriteTest : public HeadlessDeviceTest {
protected:
    void SetUp() override {
        HeadlessDeviceTest::SetUp();
        ASSERT_EQ(D3DXCreateSprite(device, &sprite), D3D_OK);
        ASSERT_EQ(device->CreateTexture(800, 600, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &picture, nullptr), D3D_OK);
        ASSERT_EQ(device->CreateTexture(512, 512, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &marker, nullptr), D3D_OK);
    }
    void TearDown() override {
        if (sprite) sprite->Release();
        if (picture) picture->Release();
        if (marker) marker->Release();
        HeadlessDeviceTest::TearDown();
    }

    std::vector<const velmora::DrawRecord*> spriteDraws() const {
        std::vector<const velmora::DrawRecord*> out;
        for (const auto& record : velmora::drawLog().pending())
            if (record.kind == velmora::DrawKind::Sprite) out.push_back(&record);
        return out;
    }

    ID3DXSprite* sprite = nullptr;
    IDirect3DTexture9* picture = nullptr;
    IDirect3DTexture9* marker = nullptr;
};

D3DXMATRIX translation(float x, float y, float z) {
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    return m;
}

TEST_F(SpriteTest, RecordsEachDrawInCallOrderWhenItFlushes) {
    const RECT whole = {0, 0, 800, 600};
    const D3DXMATRIX atOrigin = translation(0, 0, 1.0f);
    device->BeginScene();
    ASSERT_EQ(sprite->Begin(D3DXSPRITE_ALPHABLEND), D3D_OK);
    sprite->SetTransform(&atOrigin);
    ASSERT_EQ(sprite->Draw(picture, &whole, nullptr, nullptr, 0xFFFFFFFF), D3D_OK);
    ASSERT_EQ(sprite->Draw(picture, &whole, nullptr, nullptr, 0x80000000), D3D_OK);
    EXPECT_TRUE(spriteDraws().empty());  // queued until the sprite flushes
    ASSERT_EQ(sprite->End(), D3D_OK);
    device->EndScene();

    auto draws = spriteDraws();
    ASSERT_EQ(draws.size(), 2u);
    EXPECT_TRUE(draws[0]->insideScene);
    EXPECT_EQ(draws[0]->sprite.texture, picture);
    EXPECT_EQ(draws[0]->sprite.color, 0xFFFFFFFFu);
    EXPECT_EQ(draws[1]->sprite.color, 0x80000000u);
    EXPECT_EQ(draws[0]->sprite.sourceRect.right, 800);
    EXPECT_EQ(draws[0]->sprite.transform._43, 1.0f);
    const D3DVECTOR* c = draws[0]->sprite.corners;
    EXPECT_EQ(c[0].x, 0.0f);
    EXPECT_EQ(c[0].y, 0.0f);
    EXPECT_EQ(c[0].z, 1.0f);
    EXPECT_EQ(c[2].x, 800.0f);
    EXPECT_EQ(c[2].y, 600.0f);
    EXPECT_EQ(velmora::drawLog().total(velmora::DrawKind::Sprite), 2u);
}

TEST_F(SpriteTest, CornersAreMovedByCentreAndPositionThenTransformed) {
    // The lock-on marker: centre (128, 128), scaled by 0.5 and moved to a screen point.
    D3DXMATRIX scale, move, m;
    D3DXMatrixScaling(&scale, 0.5f, 0.5f, 0.5f);
    D3DXMatrixTranslation(&move, 400.0f, 300.0f, 0.0f);
    D3DXMatrixMultiply(&m, &scale, &move);
    const D3DXVECTOR3 centre(128.0f, 128.0f, 0.0f);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    sprite->SetTransform(&m);
    ASSERT_EQ(sprite->Draw(marker, nullptr, &centre, nullptr, 0xFFFFFFFF), D3D_OK);
    const D3DXVECTOR3 position(10.0f, 20.0f, 0.0f);
    sprite->SetTransform(&move);  // the transform in force at Draw counts, not at Flush
    sprite->Draw(marker, nullptr, nullptr, &position, 0xFFFFFFFF);
    sprite->End();

    auto draws = spriteDraws();
    ASSERT_EQ(draws.size(), 2u);
    const velmora::LoggedSprite& first = draws[0]->sprite;
    EXPECT_EQ(first.sourceRect.right, 512);  // no rectangle: the whole texture
    EXPECT_EQ(first.center.x, 128.0f);
    EXPECT_FLOAT_EQ(first.corners[0].x, 400.0f - 64.0f);
    EXPECT_FLOAT_EQ(first.corners[0].y, 300.0f - 64.0f);
    EXPECT_FLOAT_EQ(first.corners[2].x, 400.0f + 192.0f);
    EXPECT_FLOAT_EQ(first.corners[2].y, 300.0f + 192.0f);
    const velmora::LoggedSprite& second = draws[1]->sprite;
    EXPECT_FLOAT_EQ(second.corners[0].x, 410.0f);
    EXPECT_FLOAT_EQ(second.corners[0].y, 320.0f);
    EXPECT_FLOAT_EQ(second.corners[1].x, 410.0f + 512.0f);
}

TEST_F(SpriteTest, TransformPersistsAcrossBeginAndEnd) {
    D3DXMATRIX half;
    D3DXMatrixScaling(&half, 0.5f, 0.5f, 0.5f);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    sprite->SetTransform(&half);
    sprite->End();
    D3DXMATRIX kept;
    sprite->GetTransform(&kept);
    EXPECT_EQ(kept._11, 0.5f);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    sprite->Draw(picture, nullptr, nullptr, nullptr, 0xFFFFFFFF);  // a null transform reuses it
    sprite->End();
    auto draws = spriteDraws();
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_FLOAT_EQ(draws[0]->sprite.corners[2].x, 400.0f);
    EXPECT_FLOAT_EQ(draws[0]->sprite.corners[2].y, 300.0f);
}

TEST_F(SpriteTest, CallsOutOfOrderAreRefused) {
    EXPECT_EQ(sprite->Draw(picture, nullptr, nullptr, nullptr, 0xFFFFFFFF), D3DERR_INVALIDCALL);
    EXPECT_EQ(sprite->End(), D3DERR_INVALIDCALL);
    EXPECT_EQ(sprite->Flush(), D3DERR_INVALIDCALL);
    ASSERT_EQ(sprite->Begin(0), D3D_OK);
    EXPECT_EQ(sprite->Begin(0), D3DERR_INVALIDCALL);
    EXPECT_EQ(sprite->Draw(nullptr, nullptr, nullptr, nullptr, 0xFFFFFFFF), D3DERR_INVALIDCALL);
    EXPECT_EQ(sprite->End(), D3D_OK);
    EXPECT_TRUE(spriteDraws().empty());
}

TEST_F(SpriteTest, DeviceStateIsRestoredAfterEnd) {
    D3DMATRIX world{};
    world._11 = world._22 = world._33 = world._44 = 1.0f;
    world._42 = 7.0f;
    device->SetTransform(D3DTS_WORLD, &world);
    device->SetRenderState(D3DRS_CULLMODE, D3DCULL_CCW);
    device->SetRenderState(D3DRS_LIGHTING, TRUE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    device->SetFVF(0x112);
    device->SetTexture(0, marker);

    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    DWORD value = 0;
    device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, DWORD(D3DCULL_NONE));
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
    EXPECT_EQ(value, DWORD(TRUE));
    sprite->Draw(picture, nullptr, nullptr, nullptr, 0xFFFFFFFF);
    sprite->End();

    device->GetRenderState(D3DRS_CULLMODE, &value);
    EXPECT_EQ(value, DWORD(D3DCULL_CCW));
    device->GetRenderState(D3DRS_LIGHTING, &value);
    EXPECT_EQ(value, DWORD(TRUE));
    device->GetRenderState(D3DRS_ALPHABLENDENABLE, &value);
    EXPECT_EQ(value, DWORD(FALSE));
    device->GetSamplerState(0, D3DSAMP_ADDRESSU, &value);
    EXPECT_EQ(value, DWORD(D3DTADDRESS_WRAP));
    device->GetFVF(&value);
    EXPECT_EQ(value, 0x112u);
    D3DMATRIX back{};
    device->GetTransform(D3DTS_WORLD, &back);
    EXPECT_EQ(back._42, 7.0f);
    IDirect3DBaseTexture9* bound = nullptr;
    device->GetTexture(0, &bound);
    EXPECT_EQ(bound, marker);
    if (bound) bound->Release();
}

TEST_F(SpriteTest, QueuedTexturesAreHeldUntilFlushed) {
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    sprite->Draw(marker, nullptr, nullptr, nullptr, 0xFFFFFFFF);
    EXPECT_EQ(marker->Release(), 1u);  // the queue's reference keeps it
    marker = nullptr;
    sprite->End();
    EXPECT_EQ(spriteDraws().size(), 1u);
}

}  // namespace
