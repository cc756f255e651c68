// The full-screen pictures drawn through the sprite at the screen's origin, as the title,
// stage-clear and game-over screens draw them: each shows 1:1, the title's prompt and
// version label stand out on it.
#include <gtest/gtest.h>

#include <string>

#include "GallerySession.h"
#include "Graphics.h"
#include "ImageStats.h"
#include "Texture.h"

namespace gallery {
namespace {

// The texels of a picture's top level, as an image of the picture's own size.
velmora::Image texelsOf(const Texture& picture) {
    velmora::Image image;
    D3DLOCKED_RECT locked{};
    if (!picture.texture || FAILED(picture.texture->LockRect(0, &locked, nullptr, D3DLOCK_READONLY))) return image;
    image.width = picture.info.Width;
    image.height = picture.info.Height;
    for (unsigned y = 0; y < image.height; ++y)
        for (unsigned x = 0; x < image.width; ++x) {
            const D3DCOLOR c = reinterpret_cast<const D3DCOLOR*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch)[x];
            image.rgba.insert(image.rgba.end(), {BYTE(c >> 16), BYTE(c >> 8), BYTE(c), BYTE(c >> 24)});
        }
    picture.texture->UnlockRect(0);
    return image;
}

// The rows and columns where a picture is not fully transparent.
Area shownArea(const velmora::Image& picture) {
    Area area{picture.width, picture.height, 0, 0};
    for (unsigned y = 0; y < picture.height; ++y)
        for (unsigned x = 0; x < picture.width; ++x)
            if (picture.pixel(x, y).a > 0) {
                area.left = std::min(area.left, x), area.top = std::min(area.top, y);
                area.right = std::max(area.right, x + 1), area.bottom = std::max(area.bottom, y + 1);
            }
    return area;
}

struct Layer {
    const Texture* picture;
    D3DCOLOR colour;
    float scale;
};

// One screen: cleared as the scenes clear, pictures drawn through the shared sprite.
velmora::Image drawScreen(const std::vector<Layer>& layers, const std::string& name) {
    Graphics& graphics = Graphics::get();
    graphics.device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFF000032, 1.0f, 0);
    graphics.device->BeginScene();
    graphics.sprite->Begin(D3DXSPRITE_ALPHABLEND);
    for (const Layer& layer : layers) {
        D3DXMATRIX atOrigin, scale;
        D3DXMatrixTranslation(&atOrigin, 0, 0, 1.0f);
        D3DXMatrixScaling(&scale, layer.scale, layer.scale, layer.scale);
        const D3DXMATRIX transform = scale * atOrigin;
        graphics.drawSprite(layer.picture, layer.colour, &transform);
    }
    graphics.sprite->End();
    graphics.device->EndScene();
    velmora::Image image;
    EXPECT_TRUE(velmora::readBackBuffer(image));
    EXPECT_TRUE(velmora::writePng(image, GallerySession::picturePath(name)));
    return image;
}

const Area kWholeScreen{0, 0, 1280, 720};

TEST(ScreenGallery, TitleShowsItsPictureWithThePromptAndTheVersionOverIt) {
    GALLERY_REQUIRE_DEVICE();
    Texture title, prompt, version;
    ASSERT_TRUE(title.load("data/Texture/Title.png", true));
    ASSERT_TRUE(prompt.load("data/Texture/StartText.png", true));
    ASSERT_TRUE(version.load("data/Texture/Ver.png", true));
    const velmora::Image titleTexels = texelsOf(title);
    const velmora::Image alone = drawScreen({{&title, 0xFFFFFFFF, 1}}, "title-picture");
    const velmora::Image screen =
        drawScreen({{&title, 0xFFFFFFFF, 1}, {&prompt, 0xFFFFFFFF, 1}, {&version, 0xFFFFFFFF, 0.5f}}, "title-screen");
    ASSERT_EQ(screen.width, 1280u);
    ASSERT_EQ(screen.height, 720u);

    EXPECT_LT(meanDifference(alone, titleTexels, kWholeScreen), 1.5) << "drawn 1:1 at the origin";
    EXPECT_GT(luminanceSpread(screen), 12) << "a picture, not a flat colour";

    const Area promptArea = shownArea(texelsOf(prompt));
    const Area versionArea{0, 0, version.info.Width / 2, version.info.Height / 2};
    EXPECT_GT(meanDifference(screen, titleTexels, promptArea), 8) << "the prompt stands out";
    EXPECT_GT(meanDifference(screen, titleTexels, versionArea), 5) << "the version label stands out";
    const Area between{0, versionArea.bottom, 1280, promptArea.top};
    EXPECT_LT(meanDifference(screen, titleTexels, between), 1.5) << "and nothing else covers the title";
}

TEST(ScreenGallery, ResultScreensShowTheirOwnPicturesWhole) {
    GALLERY_REQUIRE_DEVICE();
    Texture clear, over;
    ASSERT_TRUE(clear.load("data/Texture/StageClearBack.png", true));
    ASSERT_TRUE(over.load("data/Texture/GameOverback.png", true));
    const velmora::Image clearScreen = drawScreen({{&clear, 0xFFFFFFFF, 1}}, "stage-clear");
    const velmora::Image overScreen = drawScreen({{&over, 0xFFFFFFFF, 1}}, "game-over");
    EXPECT_LT(meanDifference(clearScreen, texelsOf(clear), kWholeScreen), 1.5);
    EXPECT_LT(meanDifference(overScreen, texelsOf(over), kWholeScreen), 1.5);
    EXPECT_GT(luminanceSpread(clearScreen), 12);
    EXPECT_GT(luminanceSpread(overScreen), 12);
    EXPECT_GT(meanDifference(clearScreen, overScreen, kWholeScreen), 10) << "two different screens";
}

}  // namespace
}  // namespace gallery
