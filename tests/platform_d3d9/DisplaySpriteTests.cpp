// ID3DXSprite on the OpenGL renderer: texels land 1:1 on pixels and only those with alpha
// show, the colour multiplies the texels, later sprites cover earlier ones.
#include "DisplayDeviceFixture.h"

#include <d3dx9.h>

using namespace d3d9test;

namespace {

// A picture whose every texel differs from its neighbours, so a shift by one shows.
velmora::Rgba patternTexel(unsigned x, unsigned y) {
    return {uint8_t((x * 7 + y * 3) & 0xFF), uint8_t((x * 5 + y * 11) & 0xFF), uint8_t((x ^ y) & 0xFF), 255};
}

class DisplaySpriteTest : public DisplayDeviceTest {
protected:
    void SetUp() override {
        DisplayDeviceTest::SetUp();
        if (IsSkipped()) return;
        ASSERT_EQ(D3DXCreateSprite(device, &sprite), D3D_OK);
        ASSERT_EQ(device->CreateTexture(800, 600, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &picture, nullptr), D3D_OK);
        D3DLOCKED_RECT locked{};
        picture->LockRect(0, &locked, nullptr, 0);
        for (unsigned y = 0; y < 600; ++y) {
            BYTE* row = static_cast<BYTE*>(locked.pBits) + y * locked.Pitch;
            for (unsigned x = 0; x < 800; ++x) {
                const velmora::Rgba t = patternTexel(x, y);
                row[4 * x + 0] = t.b;
                row[4 * x + 1] = t.g;
                row[4 * x + 2] = t.r;
                row[4 * x + 3] = t.a;
            }
        }
        picture->UnlockRect(0);
        D3DXMatrixTranslation(&atOrigin, 0.0f, 0.0f, 1.0f);
    }
    void TearDown() override {
        if (sprite) sprite->Release();
        if (picture) picture->Release();
        DisplayDeviceTest::TearDown();
    }

    void drawPicture(D3DCOLOR colour) {
        const RECT whole = {0, 0, 800, 600};
        sprite->SetTransform(&atOrigin);
        ASSERT_EQ(sprite->Draw(picture, &whole, nullptr, nullptr, colour), D3D_OK);
    }

    ID3DXSprite* sprite = nullptr;
    IDirect3DTexture9* picture = nullptr;
    D3DXMATRIX atOrigin;
};

// Texels land 1:1 on pixels, and only texels with alpha reach them: a transparent margin
// keeps what was there, half alpha blends, and a margin narrowed by a later write shows at
// the next draw.
TEST_F(DisplaySpriteTest, TexelsLandOneToOneOnPixels) {
    for (unsigned margin : {0u, 100u, 20u}) {
        auto alpha = [margin](unsigned x, unsigned y) {
            if (x < margin || y < margin || x >= 800 - margin || y >= 600 - margin) return 0u;
            return margin > 0 && x < 300 ? 128u : 255u;
        };
        D3DLOCKED_RECT locked{};
        picture->LockRect(0, &locked, nullptr, 0);
        for (unsigned y = 0; y < 600; ++y)
            for (unsigned x = 0; x < 800; ++x)
                static_cast<BYTE*>(locked.pBits)[y * locked.Pitch + 4 * x + 3] = BYTE(alpha(x, y));
        picture->UnlockRect(0);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF204060, 1.0f, 0);
        const D3DXVECTOR3 at(5.0f, 7.0f, 0.0f);
        sprite->Begin(D3DXSPRITE_ALPHABLEND);
        sprite->SetTransform(&atOrigin);
        ASSERT_EQ(sprite->Draw(picture, nullptr, nullptr, &at, 0xFFFFFFFF), D3D_OK);
        sprite->End();
        const velmora::Image image = readBack();
        int mismatches = 0;
        for (unsigned y = 0; y < 600; ++y)
            for (unsigned x = 0; x < 800; ++x) {
                // The texel over the background, 32, 64, 96, at its alpha.
                const velmora::Rgba t = patternTexel(x, y), got = image.pixel(5 + x, 7 + y);
                const int a = int(alpha(x, y)), b = 255 - a;
                mismatches += std::abs(got.r - (t.r * a + 32 * b) / 255) > 1 ||
                              std::abs(got.g - (t.g * a + 64 * b) / 255) > 1 ||
                              std::abs(got.b - (t.b * a + 96 * b) / 255) > 1;
            }
        EXPECT_EQ(mismatches, 0) << "margin " << margin;
        EXPECT_TRUE(colourNear(image.pixel(805, 7), 32, 64, 96, 0)) << "margin " << margin;
        EXPECT_TRUE(colourNear(image.pixel(5, 607), 32, 64, 96, 0)) << "margin " << margin;
    }
}

TEST_F(DisplaySpriteTest, ColourTintsFadesAndCoversInCallOrder) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    device->BeginScene();
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    drawPicture(0xFFFFFFFF);
    drawPicture(0x80000000);  // the fade: black at half alpha over the picture
    sprite->End();
    device->EndScene();
    velmora::Image image = readBack();
    const velmora::Rgba want = patternTexel(321, 123);
    EXPECT_TRUE(colourNear(image.pixel(321, 123), want.r * 127 / 255, want.g * 127 / 255, want.b * 127 / 255));

    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000, 1.0f, 0);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    drawPicture(0xFF00FF00);  // green tint keeps only the texels' green
    sprite->End();
    image = readBack();
    EXPECT_TRUE(colourNear(image.pixel(321, 123), 0, want.g, 0, 1));
    EXPECT_TRUE(velmora::writePng(image, screenshotPath("d3d9_tinted_sprite")));
}

TEST_F(DisplaySpriteTest, HalfScaledPictureCoversAQuarter) {
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFFFFFFFF, 1.0f, 0);
    D3DXMATRIX half, m;
    D3DXMatrixScaling(&half, 0.5f, 0.5f, 0.5f);
    D3DXMatrixMultiply(&m, &half, &atOrigin);
    sprite->Begin(D3DXSPRITE_ALPHABLEND);
    sprite->SetTransform(&m);
    sprite->Draw(picture, nullptr, nullptr, nullptr, 0xFF000000);
    sprite->End();
    expectExactPixels(readBack(), {{0, 0, 0, 0, 0}, {399, 299, 0, 0, 0}, {400, 100, 255, 255, 255}, {100, 300, 255, 255, 255}});
}

}  // namespace
