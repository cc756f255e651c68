// Each file the game reads, in turn removed, cut to half its length or overwritten with
// garbage: the game still starts, plays the scripted round through its entry point and
// ends with 0, and nothing in the world stops being a number.
#include <velmora/D3DXCache.h>
#include <velmora/Platform.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "CharaBase.h"
#include "RunDirCopy.h"
#include "SceneManager.h"
#include "ScriptedPlay.h"

namespace fs = std::filesystem;

namespace robustness {
namespace {

// Frames of each play; see CMakeLists.txt for the sweep's run time.
const int FRAMES_PER_PLAY = 2000;

struct BrokenFile {
    std::string relative;
    Damage damage;
};

void PrintTo(const BrokenFile& file, std::ostream* out) { *out << file.relative << " " << damageName(file.damage); }

std::vector<BrokenFile> everyBrokenFile() {
    std::vector<BrokenFile> cases;
    for (const std::string& file : gameFiles(fs::current_path().string()))
        for (Damage damage : {Damage::Removed, Damage::TruncatedToHalf, Damage::FilledWithGarbage})
            cases.push_back({file, damage});
    return cases;
}

std::string caseName(const ::testing::TestParamInfo<BrokenFile>& info) {
    std::string name = info.param.relative + "_" + damageName(info.param.damage);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

class DamagedFile : public ::testing::TestWithParam<BrokenFile> {
protected:
    static void SetUpTestSuite() {
        runDir_ = fs::current_path();
        copy_ = std::make_unique<RunDirCopy>(runDir_.string());
    }
    static void TearDownTestSuite() {
        copy_.reset();
    }
    void SetUp() override {
        velmora::selectBackend(velmora::Backend::Headless);
        resetHeadlessPlatform();
        velmora::clearD3DXCaches();
        fs::current_path(copy_->path());
    }
    void TearDown() override {
        resetHeadlessPlatform();
        velmora::clearD3DXCaches();
        copy_->restore(GetParam().relative);
        fs::current_path(runDir_);
    }

    static fs::path runDir_;
    static std::unique_ptr<RunDirCopy> copy_;
};

fs::path DamagedFile::runDir_;
std::unique_ptr<RunDirCopy> DamagedFile::copy_;

TEST_P(DamagedFile, TheGameStartsPlaysAndEndsCleanly) {
    copy_->damage(GetParam().relative, GetParam().damage);
    PlayOutcome outcome = playThroughWinMain(FRAMES_PER_PLAY, 0u, scriptedPlayInput);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.framesRun, FRAMES_PER_PLAY) << "the play ended early";
    EXPECT_TRUE(outcome.reachedPlay) << "the title's click did not start a play";
    EXPECT_EQ(outcome.firstNonFiniteFrame, -1) << outcome.nonFiniteWhat << " is not finite";
}

INSTANTIATE_TEST_SUITE_P(BrokenData, DamagedFile, ::testing::ValuesIn(everyBrokenFile()), caseName);

// Without the arena nothing has ground below it or walls around it: a ground query that
// meets no surface moves nothing, so the player hangs in the air instead of falling for
// ever, and the play goes on.
TEST(BrokenData, WithoutTheArenaThePlayerFloatsInsteadOfFalling) {
    const fs::path runDir = fs::current_path();
    RunDirCopy copy(runDir.string());
    velmora::selectBackend(velmora::Backend::Headless);
    resetHeadlessPlatform();
    velmora::clearD3DXCaches();
    fs::current_path(copy.path());
    copy.damage("data/Field/SubField2.x", Damage::Removed);

    std::vector<float> heights;  // the player's height in every frame of the play
    const PlayOutcome outcome = playThroughWinMain(FRAMES_PER_PLAY, 0u, [&](int frame) {
        scriptedPlayInput(frame);
        if (!g_sceneManager) return;
        for (const CharaBase* object : g_sceneManager->objects)
            if (object->Kind == KIND_PLAYER) heights.push_back(object->TransMatrix._42);
    });

    resetHeadlessPlatform();
    velmora::clearD3DXCaches();
    fs::current_path(runDir);
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_EQ(outcome.framesRun, FRAMES_PER_PLAY);
    ASSERT_GT(heights.size(), 1000u) << "the play should have run most of the frames";
    // Its rises (the thread's hops) stay where they end: nothing below pulls it down.
    for (size_t i = 1; i < heights.size(); ++i) ASSERT_GE(heights[i], heights[i - 1]) << "frame " << i << " of the play";
}

}  // namespace
}  // namespace robustness
