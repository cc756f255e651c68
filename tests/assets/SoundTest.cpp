// Sounds read through mmio as the game reads them, and as DirectSound 3D buffers need them
// (PCM, mono, 16-bit), with sane lengths and levels, and music loops that join without a click.
#include "TestData.h"
#include "WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace assettest {
namespace {

const char* const kEffects[] = {"Start", "ExploSE", "PlayMoveSE", "DamageSE", "Line", "Ball",
                                "LineReverse", "Search", "LockOn", "LineHit", "BallBreak", "BossExploSE",
                                "RollOver", "BossMove", "Bound", "FirstRoll", "LoopRoll"};
const char* const kMusic[] = {"TitleBGM", "PlayBGM", "ResultBGM", "GameOverBGM"};

double mean(const WavFile& wav) {
    double sum = 0;
    for (double s : wav.samples) sum += s;
    return sum / std::max<size_t>(1, wav.samples.size());
}

double peakDb(const WavFile& wav) {
    double peak = 0;
    for (double s : wav.samples) peak = std::max(peak, std::fabs(s));
    return 20 * std::log10(std::max(peak, 1e-9));
}

WavFile loadChecked(const std::string& relative) {
    const WavFile wav = WavFile::read(dataPath(relative));
    EXPECT_TRUE(wav.valid) << relative;
    EXPECT_EQ(wav.format, 1) << relative << ": PCM";
    EXPECT_EQ(wav.channels, 1) << relative << ": 3D buffers take mono only";
    EXPECT_EQ(wav.bitsPerSample, 16) << relative;
    EXPECT_TRUE(wav.sampleRate == 22050 || wav.sampleRate == 44100) << relative;
    return wav;
}

TEST(Sounds, EffectsAreShortMonoAndLevelledWithoutClicks) {
    for (const char* name : kEffects) {
        SCOPED_TRACE(name);
        const WavFile wav = loadChecked(std::string("Sound/SE/") + name + ".wav");
        ASSERT_FALSE(wav.samples.empty());
        EXPECT_GE(wav.seconds(), 0.1);
        EXPECT_LE(wav.seconds(), 2.5);
        EXPECT_LE(peakDb(wav), -1.0) << "no clipping";
        EXPECT_GE(peakDb(wav), -12.0) << "audible";
        EXPECT_LT(std::fabs(mean(wav)), 0.005) << "no constant offset";
        EXPECT_LT(std::fabs(wav.samples.front()), 0.01) << "starts from silence";
        EXPECT_LT(std::fabs(wav.samples.back()), 0.01) << "ends in silence";
    }
}

TEST(Sounds, SearchBeepIsShortSoSweepsRepeatIt) {
    // Played every frame while aiming, a beep sounds once per pass: keep it brief.
    const WavFile search = loadChecked("Sound/SE/Search.wav");
    EXPECT_LE(search.seconds(), 0.5);
    EXPECT_LT(peakDb(search), peakDb(loadChecked("Sound/SE/LockOn.wav"))) << "softer than the lock-on";
}

TEST(Sounds, MusicLoopsAreLongAndSeamless) {
    for (const char* name : kMusic) {
        SCOPED_TRACE(name);
        const WavFile wav = loadChecked(std::string("Sound/BGM/") + name + ".wav");
        ASSERT_GT(wav.samples.size(), 1000u);
        EXPECT_GE(wav.seconds(), 20);
        EXPECT_LE(wav.seconds(), 60);
        EXPECT_LE(peakDb(wav), -1.0);
        EXPECT_GE(peakDb(wav), -12.0);
        EXPECT_LT(std::fabs(mean(wav)), 0.01) << "no constant offset";
        // Steps between neighbouring samples on both sides of the loop point, where the
        // same notes sound: the jump across it must look like one of them.
        const size_t n = wav.samples.size();
        std::vector<double> steps;
        for (size_t i = 1; i <= 50; ++i) {
            steps.push_back(std::fabs(wav.samples[i] - wav.samples[i - 1]));
            steps.push_back(std::fabs(wav.samples[n - i] - wav.samples[n - i - 1]));
        }
        std::sort(steps.begin(), steps.end());
        const double typical = steps[steps.size() * 9 / 10];
        const double seam = std::fabs(wav.samples.front() - wav.samples.back());
        EXPECT_LE(seam, typical) << "the jump from the last sample back to the first";
    }
}

TEST(Sounds, EachMusicLoopIsItsOwnPiece) {
    std::vector<double> lengths;
    for (const char* name : kMusic) lengths.push_back(loadChecked(std::string("Sound/BGM/") + name + ".wav").seconds());
    std::sort(lengths.begin(), lengths.end());
    EXPECT_TRUE(std::adjacent_find(lengths.begin(), lengths.end()) == lengths.end()) << "no two loops are the same";
}

}  // namespace
}  // namespace assettest
