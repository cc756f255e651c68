// Scaling pictures for textures, below D3DXCreateTextureFromFileExA.
#include "ImageResampler.h"

#include <gtest/gtest.h>

using velmora::d3dx::resample;
using velmora::d3dx::ResampleFilter;

namespace {

const ResampleFilter kAllFilters[] = {ResampleFilter::Point, ResampleFilter::Linear, ResampleFilter::Triangle,
                                      ResampleFilter::Box};

TEST(Resample, TheSameSizeChangesNothing) {
    const std::vector<uint32_t> picture = {0x11223344, 0x55667788, 0x99AABBCC, 0xDDEEFF00, 0x01020304, 0xF0E0D0C0};
    for (ResampleFilter filter : kAllFilters) EXPECT_EQ(resample(picture, 3, 2, 3, 2, filter), picture);
}

TEST(Resample, HalvingAveragesTheCoveredTexels) {
    // One row: 0, 100, 200, 40 in every channel.
    std::vector<uint32_t> row;
    for (uint32_t v : {0u, 100u, 200u, 40u}) row.push_back(v * 0x01010101u);
    const auto box = resample(row, 4, 1, 2, 1, ResampleFilter::Box);
    EXPECT_EQ(box[0], 50u * 0x01010101u);
    EXPECT_EQ(box[1], 120u * 0x01010101u);
    // The tent reaches one texel further on each side with weights 1/8, 3/8, 3/8, 1/8
    // (the edge texel repeated): (0 + 0 + 300 + 200) / 8 = 62.5 and (100 + 600 + 120 + 40) / 8.
    const auto tent = resample(row, 4, 1, 2, 1, ResampleFilter::Triangle);
    EXPECT_EQ(tent[0], 63u * 0x01010101u);
    EXPECT_EQ(tent[1], 108u * 0x01010101u);
    // Point picks the texel under each target centre.
    const auto picked = resample(row, 4, 1, 2, 1, ResampleFilter::Point);
    EXPECT_EQ(picked[0], 100u * 0x01010101u);
    EXPECT_EQ(picked[1], 40u * 0x01010101u);
}

TEST(Resample, EnlargingKeepsFlatAreasAndBlendsAcrossEdges) {
    const std::vector<uint32_t> pair = {0xFF000000, 0xFFFFFFFF};
    const auto wide = resample(pair, 2, 1, 8, 1, ResampleFilter::Triangle);
    EXPECT_EQ(wide.front(), 0xFF000000u);  // edges are clamped, not wrapped
    EXPECT_EQ(wide.back(), 0xFFFFFFFFu);
    for (size_t i = 1; i < wide.size(); ++i) EXPECT_GE(wide[i] & 0xff, wide[i - 1] & 0xff);
    EXPECT_EQ(wide[3] >> 24, 0xFFu);  // alpha is filtered like any channel

    const auto blocky = resample(pair, 2, 1, 8, 1, ResampleFilter::Box);
    EXPECT_EQ(blocky[3], 0xFF000000u);
    EXPECT_EQ(blocky[4], 0xFFFFFFFFu);
}

}  // namespace
