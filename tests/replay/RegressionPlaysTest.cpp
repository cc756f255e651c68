// The plays kept in plays/ (recorded in a window; see RecordPlay.cpp and the README)
// replayed headless: each reaches, frame for frame, the states its recording run went
// through, and a play whose state parts from its recording is caught at the first frame
// it differs.
#include <velmora/HeadlessInput.h>
#include <velmora/Replay.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>

#include "CharaBase.h"
#include "GameFixture.h"
#include "GameHelpers.h"
#include "MemoryCeiling.h"
#include "PlayDigests.h"

namespace {

using ReplayPlays = gametest::GameFixture;

const std::string PLAYS = VELMORA_PLAYS_DIR "/";

struct Replayed {
    PlayDigests expected;
    PlayDigests play;
};

Replayed replay(const std::string& name, const std::function<void(int frame)>& meddle = {}) {
    Replayed replayed;
    std::string problem;
    EXPECT_TRUE(PlayDigests::load(PLAYS + name + ".digests", replayed.expected)) << name;
    EXPECT_TRUE(velmora::replay::startReplay(PLAYS + name + ".vrp", problem)) << name << ": " << problem;
    replayed.play = PlayDigests::ofWinMain([&](int frame, unsigned long long) {
        if (meddle) meddle(frame);
    });
    return replayed;
}

TEST_F(ReplayPlays, EachPlayReachesTheStatesOfItsRecordingFrameForFrame) {
    for (const char* name : {"loss", "win", "pad"}) {
        const Replayed replayed = replay(name);
        EXPECT_GT(replayed.expected.frames(), 1000) << name;
        EXPECT_EQ(replayed.play.firstDifference(replayed.expected), -1) << name << ": the states part there";
        EXPECT_EQ(replayed.play.final(), replayed.expected.final()) << name;
        resetHeadless();
    }
}

TEST_F(ReplayPlays, AStateThatPartsFromTheRecordingIsNamedAtTheFirstFrameItDiffers) {
    const int nudgedAt = 600;
    bool nudged = false;
    const Replayed replayed = replay("loss", [&](int frame) {
        if (frame != nudgedAt) return;
        for (CharaBase* player : game::objectsOfKind(KIND_PLAYER)) {
            player->TransMatrix._41 += 0.25f;
            nudged = true;
        }
    });
    ASSERT_TRUE(nudged);
    // The frame's digest is taken before the nudge: the next frame is the first to differ.
    EXPECT_EQ(replayed.play.firstDifference(replayed.expected), nudgedAt + 1);
}

// The close box ends a play after its last record: the replay ends there too.
TEST_F(ReplayPlays, APlayEndedByTheCloseBoxReplaysFrameForFrameToItsEnd) {
    const std::string path = testing::TempDir() + "closed.vrp";
    std::string problem;
    velmora::headless::queueMessageBoxAnswer(IDNO);
    velmora::replay::startRecording();
    const PlayDigests recorded = PlayDigests::ofWinMain([](int frame, unsigned long long) {
        if (frame == 100) velmora::headless::clickCloseBox(velmora::headless::lastCreatedWindow());
    });
    ASSERT_TRUE(velmora::replay::saveRecording(path, problem)) << problem;
    resetHeadless();
    ASSERT_TRUE(velmora::replay::startReplay(path, problem)) << problem;
    const PlayDigests replayed = PlayDigests::ofWinMain();
    EXPECT_EQ(replayed.frames(), recorded.frames());
    EXPECT_EQ(replayed.firstDifference(recorded), -1);
}

// A digests file comes with a play from someone else: its count is checked against its
// size before anything is allocated for it.
TEST(PlayDigestsFile, ACountTheFileDoesNotHoldIsRefusedBeforeItIsAllocated) {
    const std::string path = testing::TempDir() + "bad.digests";
    for (const char* count : {"\xff\xff\xff\xff", "\0\0\0\x10"}) {
        std::ofstream(path, std::ios::binary) << "VPDG" << std::string(count, 4) << "12345678" << "abcd";
        EXPECT_TRUE(velmora::test::runsWithinMemory(16 << 20, [&] {
            PlayDigests digests;
            if (PlayDigests::load(path, digests)) std::_Exit(1);
        }));
    }
}

}  // namespace
