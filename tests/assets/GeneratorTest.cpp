// The generator's contract: every file the game reads, the same bytes on every run.
#include "TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace assettest {
namespace {

// Every path the game opens, relative to its working directory.
const char* const kGameFiles[] = {
    "Field/SubField2.x", "Field/Lift2.x", "Field/LiftBox.x", "Field/RopeObject2.x", "Field/RopeObjectBox.x",
    "Chara/Spider/SpiderMachineBody2.x", "Chara/Spider/SpiderMachineArm2.x", "Chara/Spider/SpiderMachineBullet.x",
    "Chara/Spider/SpiderMachineShadow.x", "LineBall/LineBall.x", "LineBall/LineBallDeb.x",
    "Chara/DragonFly/DragonFlyBody.x", "Chara/DragonFly/DragonFlyFlont.x", "Chara/DragonFly/DragonFlyBack.x",
    "Chara/DragonFly/DragonFlyShadow.x", "Chara/DragonFly/DragonFlyDebris.x", "Chara/DragonFly/DragonFlyBox.x",
    "Chara/PillBugs/PillBugs.x", "Chara/PillBugs/PillBugsArm.x", "Chara/PillBugs/PillBugsGun.x",
    "Chara/PillBugs/PillBugsBall.x", "Chara/PillBugs/Shell.x",
    "Texture/Title.png", "Texture/StartText.png", "Texture/Ver.png", "Texture/StageClearBack.png",
    "Texture/GameOverback.png", "Texture/back.png", "Texture/gauge2.png", "Texture/damagegauge2.png",
    "Texture/gaugeframe.png", "Texture/Bossgaugeframe.png", "Texture/Smoke.png", "Texture/DamageWave.png",
    "Texture/Marker.png", "Texture/SpiderLine.bmp", "LineBall/Wave.png",
    "Sound/BGM/TitleBGM.wav", "Sound/BGM/PlayBGM.wav", "Sound/BGM/ResultBGM.wav", "Sound/BGM/GameOverBGM.wav",
    "Sound/SE/Start.wav", "Sound/SE/ExploSE.wav", "Sound/SE/PlayMoveSE.wav", "Sound/SE/DamageSE.wav",
    "Sound/SE/Line.wav", "Sound/SE/Ball.wav", "Sound/SE/LineReverse.wav", "Sound/SE/Search.wav",
    "Sound/SE/LockOn.wav", "Sound/SE/LineHit.wav", "Sound/SE/BallBreak.wav", "Sound/SE/BossExploSE.wav",
    "Sound/SE/RollOver.wav", "Sound/SE/BossMove.wav", "Sound/SE/Bound.wav", "Sound/SE/FirstRoll.wav",
    "Sound/SE/LoopRoll.wav"};

// A fresh folder under the system's temporary directory, removed again at the end.
struct TempDir {
    std::string path;
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-assets-XXXXXX").string();
        if (mkdtemp(pattern.data())) path = pattern;
    }
    ~TempDir() {
        if (!path.empty()) std::filesystem::remove_all(path);
    }
};

TEST(Generator, WritesEveryFileTheGameReads) {
    for (const char* file : kGameFiles) {
        const std::string path = dataPath(file);
        ASSERT_TRUE(std::filesystem::is_regular_file(path)) << path;
        EXPECT_GT(std::filesystem::file_size(path), 0u) << path;
    }
}

TEST(Generator, TwoRunsWriteTheSameBytes) {
    const TempDir firstDir, secondDir;
    const std::string& first = firstDir.path;
    const std::string& second = secondDir.path;
    ASSERT_FALSE(first.empty());
    ASSERT_FALSE(second.empty());
    ASSERT_EQ(runGenerator(first), 0);
    ASSERT_EQ(runGenerator(second), 0);
    const std::vector<std::string> files = listFiles(first + "/data");
    EXPECT_EQ(files, listFiles(second + "/data"));
    EXPECT_GE(files.size(), std::size(kGameFiles));
    for (const std::string& file : files)
        EXPECT_TRUE(readBytes(first + "/data/" + file) == readBytes(second + "/data/" + file)) << file << " differs";
}

TEST(Generator, ReportsFailureWhenItCannotWrite) {
    EXPECT_NE(runGenerator("/proc/velmora-no-such-place"), 0);
}

}  // namespace
}  // namespace assettest
