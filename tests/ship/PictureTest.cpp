// The screenshot measurements the ship tests rely on, on pictures made here with known
// content: a wrong shift sign or a region read off by one would make the window tests
// pass or fail for the wrong reason.
#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Picture.h"

namespace {

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("ship-picture-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Writes a width x height RGB picture whose pixels come from `colour` and loads it.
    ship::Picture make(const std::string& name, int width, int height,
                       const std::function<ship::Rgb(int, int)>& colour) {
        std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const ship::Rgb c = colour(x, y);
                unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
                p[0] = c.r;
                p[1] = c.g;
                p[2] = c.b;
            }
        }
        const std::string path = (folder_ / name).string();
        EXPECT_TRUE(stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3));
        ship::Picture picture;
        EXPECT_TRUE(picture.load(path));
        return picture;
    }

    std::filesystem::path folder_;
};

// Vertical stripes of irregular widths, so that only one shift lines them up.
ship::Rgb stripes(int x) {
    const unsigned char v = static_cast<unsigned char>(((x * 37) ^ (x / 3 * 11)) & 0xFF);
    return ship::Rgb{v, v, v};
}

TEST_F(PictureTest, StatisticsOfUniformAndMixedRegions) {
    const ship::Picture picture = make("halves.png", 40, 20, [](int x, int) {
        return x < 20 ? ship::Rgb{200, 100, 50} : ship::Rgb{0, 0, 0};
    });
    const ship::RegionStats left = picture.stats({0, 0, 20, 20});
    EXPECT_DOUBLE_EQ(left.meanR, 200);
    EXPECT_DOUBLE_EQ(left.meanG, 100);
    EXPECT_DOUBLE_EQ(left.meanB, 50);
    EXPECT_NEAR(left.lumaStdDev, 0, 1e-6);
    EXPECT_EQ(left.distinctColours, 1);

    // Half and half: the luma spread is half the luma step.
    const ship::RegionStats whole = picture.stats({0, 0, 40, 20});
    EXPECT_DOUBLE_EQ(whole.meanR, 100);
    EXPECT_NEAR(whole.lumaStdDev, (0.299 * 200 + 0.587 * 100 + 0.114 * 50) / 2, 1e-6);
    EXPECT_EQ(whole.distinctColours, 2);

    // A region reaching past the edge is clipped to the picture.
    const ship::RegionStats clipped = picture.stats({30, 10, 100, 100});
    EXPECT_DOUBLE_EQ(clipped.meanR, 0);
    EXPECT_EQ(picture.clip({30, 10, 100, 100}).width, 10);
    EXPECT_EQ(picture.clip({-5, -5, 10, 10}).height, 5);
    EXPECT_EQ(picture.stats({50, 50, 10, 10}).distinctColours, 0);
}

TEST_F(PictureTest, CountsColourKindsInsideTheRegionOnly) {
    // Columns 0-9 the title's orange, 10-19 the gauge's green, 20-29 the guide's red,
    // 30-39 the marker's orange-red, 40-49 a ledge's hazard yellow.
    const ship::Picture picture = make("kinds.png", 50, 10, [](int x, int) {
        if (x < 10) return ship::Rgb{245, 160, 60};
        if (x < 20) return ship::Rgb{90, 220, 110};
        if (x < 30) return ship::Rgb{190, 20, 20};
        if (x < 40) return ship::Rgb{255, 92, 42};
        return ship::Rgb{235, 190, 30};
    });
    EXPECT_EQ(picture.count({0, 0, 50, 10}, "green"), 100);
    EXPECT_EQ(picture.count({0, 0, 50, 10}, "red"), 100);
    EXPECT_EQ(picture.count({0, 0, 50, 10}, "marker"), 100);
    EXPECT_EQ(picture.count({0, 0, 50, 10}, "yellow"), 200) << "the title's orange is yellow enough too";
    EXPECT_EQ(picture.count({0, 0, 30, 10}, "orange"), 100);
    EXPECT_EQ(picture.count({5, 0, 10, 5}, "orange"), 25);
    EXPECT_EQ(picture.count({0, 0, 50, 10}, "dark"), 0);

    bool known = true;
    EXPECT_FALSE(ship::isColourKind(ship::Rgb{0, 0, 0}, "purple", &known));
    EXPECT_FALSE(known);
}

TEST_F(PictureTest, FindsHowFarAndWhichWayTheContentMoved) {
    const ship::Picture before = make("before.png", 200, 30, [](int x, int) { return stripes(x); });
    // Content moved 7 pixels to the right, then 5 to the left.
    const ship::Picture right = make("right.png", 200, 30, [](int x, int) { return stripes(x - 7); });
    const ship::Picture left = make("left.png", 200, 30, [](int x, int) { return stripes(x + 5); });
    EXPECT_EQ(before.horizontalShift(right, {0, 0, 200, 30}, 20), 7);
    EXPECT_EQ(before.horizontalShift(left, {0, 0, 200, 30}, 20), -5);
    EXPECT_EQ(before.horizontalShift(before, {0, 0, 200, 30}, 20), 0);
}

TEST_F(PictureTest, DifferenceIsTheMeanLumaChange) {
    const ship::Picture grey = make("grey.png", 10, 10, [](int, int) { return ship::Rgb{100, 100, 100}; });
    const ship::Picture lighter = make("lighter.png", 10, 10, [](int x, int) {
        return x < 5 ? ship::Rgb{140, 140, 140} : ship::Rgb{100, 100, 100};
    });
    EXPECT_NEAR(grey.difference(grey, {0, 0, 10, 10}), 0, 1e-9);
    EXPECT_NEAR(grey.difference(lighter, {0, 0, 10, 10}), 20, 0.01);
    EXPECT_NEAR(grey.difference(lighter, {0, 0, 5, 10}), 40, 0.01);
}

TEST_F(PictureTest, CropKeepsTheRegionsPixels) {
    const ship::Picture picture = make("gradient.png", 64, 48, [](int x, int y) {
        return ship::Rgb{static_cast<unsigned char>(x * 4), static_cast<unsigned char>(y * 5), 77};
    });
    const std::string cropPath = (folder_ / "crop.png").string();
    ASSERT_TRUE(picture.writePng(cropPath, {10, 20, 30, 15}));
    ship::Picture crop;
    ASSERT_TRUE(crop.load(cropPath));
    ASSERT_EQ(crop.width(), 30);
    ASSERT_EQ(crop.height(), 15);
    const ship::Rgb corner = crop.pixel(0, 0);
    EXPECT_EQ(corner.r, 40);
    EXPECT_EQ(corner.g, 100);
    const ship::Rgb last = crop.pixel(29, 14);
    EXPECT_EQ(last.r, 39 * 4);
    EXPECT_EQ(last.g, 34 * 5);
    EXPECT_FALSE(picture.writePng((folder_ / "none.png").string(), {70, 70, 5, 5}));
}

TEST_F(PictureTest, MissingOrBrokenFilesDoNotLoad) {
    ship::Picture picture;
    EXPECT_FALSE(picture.load((folder_ / "missing.png").string()));
    const std::string broken = (folder_ / "broken.png").string();
    std::ofstream(broken) << "not a picture";
    EXPECT_FALSE(picture.load(broken));
    EXPECT_EQ(picture.width(), 0);
}

}  // namespace
