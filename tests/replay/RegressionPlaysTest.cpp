// The plays kept in plays/ (recorded in a window; see RecordPlay.cpp and the README)
// replayed headless: each reaches, frame for frame, the states its recording run went
// through, and a play whose state parts from its recording is caught at the first frame
// it differs.
#include <velmora/DrawLog.h>
#include <velmora/Replay.h>

#include <functional>
#include <string>

#include "CharaBase.h"
#include "GameFixture.h"
#include "GameHelpers.h"
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
    for (const std::string name : {"loss", "win", "pad", "slow"}) {
        const Replayed replayed = replay(name);
        EXPECT_GT(replayed.expected.frames(), 1000) << name;
        EXPECT_EQ(replayed.play.firstDifference(replayed.expected), -1) << name << ": the states part there";
        EXPECT_EQ(replayed.play.final(), replayed.expected.final()) << name;
        // Recorded with 50 ms frames: most of its steps ran unseen, and replay so.
        if (name == "slow") {
            EXPECT_LT(velmora::drawLog().presentCount(), replayed.play.frames() / 2u);
        }
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

}  // namespace
