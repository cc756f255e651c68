// Pictures as the game draws them: full-screen ones at 1280 x 720, the prompt on a
// transparent screen, gauges readable in the rows the game reads, the explosion sheet,
// the reticle centred where it is drawn about, the thread as a 24-bit BMP.
#include "TestData.h"

#include <gtest/gtest.h>
#include <stb_image.h>

#include <cmath>
#include <memory>

namespace assettest {
namespace {

struct Picture {
    int width = 0, height = 0;
    std::shared_ptr<unsigned char> pixels;  // RGBA

    static Picture load(const std::string& relative) {
        Picture p;
        int channels = 0;
        unsigned char* data = stbi_load(dataPath(relative).c_str(), &p.width, &p.height, &channels, 4);
        EXPECT_NE(data, nullptr) << relative;
        p.pixels.reset(data, stbi_image_free);
        return p;
    }
    const unsigned char* at(int x, int y) const { return pixels.get() + (size_t(y) * width + x) * 4; }
    int alpha(int x, int y) const { return at(x, y)[3]; }
    double luminance(int x, int y) const {
        const unsigned char* p = at(x, y);
        return (0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]) / 255;
    }
};

TEST(Pictures, FullScreenPicturesAreOpaqueAndScreenSized) {
    for (const char* file : {"Texture/Title.png", "Texture/StageClearBack.png", "Texture/GameOverback.png", "Texture/back.png"}) {
        SCOPED_TRACE(file);
        const Picture p = Picture::load(file);
        ASSERT_EQ(p.width, 1280);
        ASSERT_EQ(p.height, 720);
        int translucent = 0;
        for (int y = 0; y < p.height; ++y)
            for (int x = 0; x < p.width; ++x) translucent += p.alpha(x, y) < 255;
        EXPECT_EQ(translucent, 0) << "the fade tints the picture itself";
    }
}

TEST(Pictures, StartPromptIsTheOnlyThingOnItsTransparentScreen) {
    const Picture p = Picture::load("Texture/StartText.png");
    ASSERT_EQ(p.width, 1280);
    ASSERT_EQ(p.height, 720);
    int top = p.height, bottom = -1, left = p.width, right = -1, shown = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            if (p.alpha(x, y) > 0) {
                ++shown;
                top = std::min(top, y), bottom = std::max(bottom, y);
                left = std::min(left, x), right = std::max(right, x);
            }
    ASSERT_GT(shown, 2000) << "the prompt is there";
    EXPECT_GT(top, 400) << "below the title";
    EXPECT_LT(bottom - top, 160) << "one line";
    EXPECT_NEAR((left + right) / 2.0, 640, 20) << "centred";
}

TEST(Pictures, VersionLabelIsSmall) {
    const Picture p = Picture::load("Texture/Ver.png");
    EXPECT_LE(p.width, 512);
    EXPECT_LE(p.height, 128);
    int bright = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) bright += p.alpha(x, y) > 200 && p.luminance(x, y) > 0.8;
    EXPECT_GT(bright, 100) << "legible text";
}

// Share of opaque pixels over a block of rows and columns.
double coverage(const Picture& p, int x0, int x1, int y0, int y1) {
    int opaque = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) opaque += p.alpha(x, y) == 255;
    return double(opaque) / ((x1 - x0) * (y1 - y0));
}

TEST(Pictures, GaugeBarsFillTheRowsTheGameReads) {
    // Loaded into 1280 x 256 without scaling: the picture must fit there.
    const Picture life = Picture::load("Texture/gauge2.png");
    ASSERT_LE(life.width, 1280);
    ASSERT_LE(life.height, 256);
    ASSERT_GE(life.width, 400);
    ASSERT_GE(life.height, 40);
    EXPECT_EQ(coverage(life, 0, 400, 12, 40), 1.0);
    double light = 0;
    for (int y = 12; y < 40; ++y)
        for (int x = 0; x < 400; ++x) light += life.luminance(x, y);
    EXPECT_GT(light / (28 * 400), 0.7) << "light, so the green tint shows";

    const Picture boss = Picture::load("Texture/damagegauge2.png");
    ASSERT_GE(boss.width, 400);
    ASSERT_GE(boss.height, 40);
    EXPECT_EQ(coverage(boss, 0, 400, 10, 40), 1.0);
    const unsigned char* mid = boss.at(200, 25);
    EXPECT_GT(mid[0], mid[1] + 60) << "drawn untinted for the boss: carries its own red";
}

TEST(Pictures, GaugeFramesLeaveTheBarVisible) {
    struct Frame {
        const char* file;
        int barTop;  // first frame row the bar covers
    };
    for (const Frame& f : {Frame{"Texture/gaugeframe.png", 10}, Frame{"Texture/Bossgaugeframe.png", 8}}) {
        SCOPED_TRACE(f.file);
        const Picture p = Picture::load(f.file);
        ASSERT_GE(p.width, 400);
        ASSERT_GE(p.height, 40);
        EXPECT_GT(coverage(p, 0, 400, 0, 40), 0.05) << "a visible frame";
        int covered = 0;
        for (int y = f.barTop + 6; y < 34; ++y)
            for (int x = 10; x < 390; ++x) covered += p.alpha(x, y) > 0;
        EXPECT_LT(covered, 200) << "the opening over the bar is clear";
    }
}

// Alpha-weighted mean brightness and total alpha of one 32 x 32 cell of the sheet.
std::pair<double, double> cellShade(const Picture& p, int cell) {
    const int ox = (cell % 8) * 32, oy = (cell / 8) * 32;
    double weight = 0, sum = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            double a = p.alpha(ox + x, oy + y) / 255.0;
            weight += a;
            sum += a * p.luminance(ox + x, oy + y);
        }
    return {weight > 0 ? sum / weight : 0, weight};
}

TEST(Pictures, SmokeSheetRunsOneExplosionThroughCells0To52) {
    const Picture p = Picture::load("Texture/Smoke.png");
    ASSERT_EQ(p.width, 256);
    ASSERT_EQ(p.height, 256);
    for (int cell = 0; cell < 64; ++cell) {
        const double weight = cellShade(p, cell).second;
        if (cell <= 52)
            EXPECT_GT(weight, 20) << "cell " << cell << " shows";
        else
            EXPECT_EQ(weight, 0) << "cell " << cell << " is unused";
        const int ox = (cell % 8) * 32, oy = (cell / 8) * 32;
        for (int k = 0; k < 32; ++k) {
            // Cells never bleed into their neighbours when sampled.
            EXPECT_EQ(p.alpha(ox + k, oy), 0);
            EXPECT_EQ(p.alpha(ox + k, oy + 31), 0);
            EXPECT_EQ(p.alpha(ox, oy + k), 0);
            EXPECT_EQ(p.alpha(ox + 31, oy + k), 0);
        }
    }
    EXPECT_LT(cellShade(p, 22).first + 0.05, cellShade(p, 29).first) << "heavy damage smoke is the darker";
    EXPECT_GT(cellShade(p, 2).first, cellShade(p, 22).first) << "the blast starts bright";
}

TEST(Pictures, MarkerIsCentredWhereTheGameDrawsItAbout) {
    const Picture p = Picture::load("Texture/Marker.png");
    ASSERT_LE(p.width, 512);
    ASSERT_LE(p.height, 512);
    double weight = 0, mx = 0, my = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
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
        const Picture p = Picture::load(file);
        ASSERT_EQ(p.width, p.height);
        const int c = p.width / 2;
        EXPECT_EQ(p.alpha(0, 0), 0) << "transparent corners";
        EXPECT_LT(p.alpha(c, c), 128) << "clear in the middle";
        int ringMax = 0;
        for (int x = c; x < p.width; ++x) ringMax = std::max(ringMax, p.alpha(x, c));
        EXPECT_GT(ringMax, 200);
    }
}

TEST(Pictures, ThreadTextureIsA24BitBmpBrightAlongItsMiddle) {
    const std::vector<unsigned char> bytes = readBytes(dataPath("Texture/SpiderLine.bmp"));
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(bytes[28] | (bytes[29] << 8), 24) << "bits per pixel";
    const Picture p = Picture::load("Texture/SpiderLine.bmp");
    EXPECT_GT(p.height, p.width) << "v runs along the thread";
    EXPECT_GT(p.luminance(p.width / 2, 5), p.luminance(0, 5) + 0.2) << "u runs across it";
}

}  // namespace
}  // namespace assettest
