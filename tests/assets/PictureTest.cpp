// Pictures as the game loads them with D3DXCreateTextureFromFileExA: screen pictures at
// their own 1280 x 720, the prompt on a transparent screen, gauges and the marker into
// textures they must fit without scaling, the explosion sheet, the waves, the thread.
#include "Picture.h"
#include "TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

namespace assettest {
namespace {

Picture ownSize(const char* relative) {
    Picture p = Picture::atOwnSize(relative);
    EXPECT_TRUE(p.loaded) << relative;
    return p;
}

Picture unscaledInto(const char* relative, UINT width, UINT height) {
    Picture p = Picture::intoTexture(relative, width, height);
    EXPECT_TRUE(p.loaded) << relative;
    EXPECT_EQ(p.width, width) << relative;
    EXPECT_EQ(p.height, height) << relative;
    EXPECT_LE(p.file.Width, width) << relative << " must fit: it is not scaled";
    EXPECT_LE(p.file.Height, height) << relative << " must fit: it is not scaled";
    return p;
}

TEST(Pictures, FullScreenPicturesAreOpaqueAndScreenSized) {
    for (const char* file : {"Texture/Title.png", "Texture/StageClearBack.png", "Texture/GameOverback.png", "Texture/back.png"}) {
        SCOPED_TRACE(file);
        const Picture p = ownSize(file);
        ASSERT_EQ(p.width, 1280u);
        ASSERT_EQ(p.height, 720u);
        EXPECT_EQ(p.opaqueShare(0, p.width, 0, p.height), 1.0) << "the fade tints the picture itself";
    }
}

TEST(Pictures, StartPromptIsTheOnlyThingOnItsTransparentScreen) {
    const Picture p = ownSize("Texture/StartText.png");
    ASSERT_EQ(p.width, 1280u);
    ASSERT_EQ(p.height, 720u);
    UINT top = p.height, bottom = 0, left = p.width, right = 0, shown = 0;
    for (UINT y = 0; y < p.height; ++y)
        for (UINT x = 0; x < p.width; ++x)
            if (p.alpha(x, y) > 0) {
                ++shown;
                top = std::min(top, y), bottom = std::max(bottom, y);
                left = std::min(left, x), right = std::max(right, x);
            }
    ASSERT_GT(shown, 2000u) << "the prompt is there";
    EXPECT_GT(top, 400u) << "below the title";
    EXPECT_LT(bottom - top, 160u) << "one line";
    EXPECT_NEAR((left + right) / 2.0, 640, 20) << "centred";
}

TEST(Pictures, VersionLabelIsSmallAndLegible) {
    const Picture p = ownSize("Texture/Ver.png");
    // Drawn at half size in the top-left corner, clear of the title.
    EXPECT_LE(p.width, 512u);
    EXPECT_LE(p.height, 128u);
    int bright = 0;
    for (UINT y = 0; y < p.height; ++y)
        for (UINT x = 0; x < p.width; ++x) bright += p.alpha(x, y) > 200 && p.luminance(x, y) > 0.8;
    EXPECT_GT(bright, 100) << "legible text";
}

TEST(Pictures, GaugeBarsFillTheRowsTheGameReads) {
    const Picture life = unscaledInto("Texture/gauge2.png", 1280, 256);
    EXPECT_EQ(life.opaqueShare(0, 400, 12, 40), 1.0);
    double light = 0;
    for (UINT y = 12; y < 40; ++y)
        for (UINT x = 0; x < 400; ++x) light += life.luminance(x, y);
    EXPECT_GT(light / (28 * 400), 0.7) << "light, so the green tint shows";

    const Picture boss = unscaledInto("Texture/damagegauge2.png", 1280, 256);
    EXPECT_EQ(boss.opaqueShare(0, 400, 10, 40), 1.0);
    EXPECT_GT(boss.red(200, 25), boss.green(200, 25) + 60) << "drawn untinted for the boss: carries its own red";
}

TEST(Pictures, GaugeFramesLeaveTheBarVisible) {
    struct Frame {
        const char* file;
        UINT barTop;  // first frame row the bar covers
    };
    for (const Frame& f : {Frame{"Texture/gaugeframe.png", 10}, Frame{"Texture/Bossgaugeframe.png", 8}}) {
        SCOPED_TRACE(f.file);
        const Picture p = unscaledInto(f.file, 1280, 256);
        EXPECT_GT(p.opaqueShare(0, 400, 0, 40), 0.05) << "a visible frame";
        int covered = 0;
        for (UINT y = f.barTop + 6; y < 34; ++y)
            for (UINT x = 10; x < 390; ++x) covered += p.alpha(x, y) > 0;
        EXPECT_LT(covered, 200) << "the opening over the bar is clear";
    }
}

// Alpha-weighted mean brightness and total alpha of one 32 x 32 cell of the sheet.
std::pair<double, double> cellShade(const Picture& p, int cell) {
    const UINT ox = (cell % 8) * 32, oy = (cell / 8) * 32;
    double weight = 0, sum = 0;
    for (UINT y = 0; y < 32; ++y)
        for (UINT x = 0; x < 32; ++x) {
            double a = p.alpha(ox + x, oy + y) / 255.0;
            weight += a;
            sum += a * p.luminance(ox + x, oy + y);
        }
    return {weight > 0 ? sum / weight : 0, weight};
}

TEST(Pictures, SmokeSheetRunsOneExplosionThroughCells0To52) {
    const Picture p = ownSize("Texture/Smoke.png");
    ASSERT_EQ(p.width, 256u);
    ASSERT_EQ(p.height, 256u);
    for (int cell = 0; cell < 64; ++cell) {
        const double weight = cellShade(p, cell).second;
        if (cell <= 52)
            EXPECT_GT(weight, 20) << "cell " << cell << " shows";
        else
            EXPECT_EQ(weight, 0) << "cell " << cell << " is unused";
        const UINT ox = (cell % 8) * 32, oy = (cell / 8) * 32;
        int edge = 0;
        for (UINT k = 0; k < 32; ++k)
            edge += p.alpha(ox + k, oy) + p.alpha(ox + k, oy + 31) + p.alpha(ox, oy + k) + p.alpha(ox + 31, oy + k);
        EXPECT_EQ(edge, 0) << "cell " << cell << " bleeds into its neighbours when sampled";
    }
    EXPECT_LT(cellShade(p, 22).first + 0.05, cellShade(p, 29).first) << "heavy damage smoke is the darker";
    EXPECT_GT(cellShade(p, 2).first, cellShade(p, 22).first) << "the blast starts bright";
}

TEST(Pictures, MarkerIsCentredWhereTheGameDrawsItAbout) {
    const Picture p = unscaledInto("Texture/Marker.png", 512, 512);
    double weight = 0, mx = 0, my = 0;
    for (UINT y = 0; y < p.height; ++y)
        for (UINT x = 0; x < p.width; ++x) {
            double a = p.alpha(x, y);
            weight += a, mx += a * (x + 0.5), my += a * (y + 0.5);
        }
    ASSERT_GT(weight, 0);
    EXPECT_NEAR(mx / weight, 128, 1.0);
    EXPECT_NEAR(my / weight, 128, 1.0);
    EXPECT_GT(p.alpha(128, 128), 200) << "a dot in the middle";
}

TEST(Pictures, WavesAreCentredRings) {
    for (const char* file : {"Texture/DamageWave.png", "LineBall/Wave.png"}) {
        SCOPED_TRACE(file);
        const Picture p = ownSize(file);
        ASSERT_EQ(p.width, p.height);
        const UINT c = p.width / 2;
        EXPECT_EQ(p.alpha(0, 0), 0) << "transparent corners";
        EXPECT_LT(p.alpha(c, c), 128) << "clear in the middle";
        int ringMax = 0;
        for (UINT x = c; x < p.width; ++x) ringMax = std::max(ringMax, p.alpha(x, c));
        EXPECT_GT(ringMax, 200);
    }
}

TEST(Pictures, ThreadTextureIsA24BitBmpBrightAlongItsMiddle) {
    const std::vector<unsigned char> bytes = readBytes(dataPath("Texture/SpiderLine.bmp"));
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[28] | (bytes[29] << 8), 24) << "bits per pixel";
    const Picture p = ownSize("Texture/SpiderLine.bmp");
    EXPECT_EQ(p.file.ImageFileFormat, D3DXIFF_BMP);
    EXPECT_EQ(p.format, D3DFMT_X8R8G8B8) << "no alpha";
    EXPECT_GT(p.height, p.width) << "v runs along the thread";
    EXPECT_GT(p.luminance(p.width / 2, 5), p.luminance(0, 5) + 0.2) << "u runs across it";
}

}  // namespace
}  // namespace assettest
