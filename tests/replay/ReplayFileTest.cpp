// The replay file: frames come back as they were recorded, and a file that is not whole
// and ours is refused with its reason before anything is played; and replaying through
// the SDK calls.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>
#include <velmora/Replay.h>

#include "MemoryCeiling.h"
#include "win32/FrameCodec.h"
#include "win32/ReplayFile.h"

namespace {

using velmora::win32::FrameCodec;
using velmora::win32::FrameInput;
using velmora::win32::ReplayFile;

const DWORD CLOCK_START = 0xFFFFFFF0u;  // the clock wraps during the play

// Quiet frames, and busy ones: many keys, readings that step back and across the wrap,
// cursor jumps both ways, several message box answers.
std::vector<FrameInput> sampleFrames() {
    std::vector<FrameInput> frames(6);
    frames[0].answers = {IDNO};
    frames[0].times = {CLOCK_START};
    frames[1].keysDown.set(VK_LBUTTON);
    frames[1].times = {CLOCK_START + 16, CLOCK_START + 17};
    frames[1].cursors = {{960, 540}};
    frames[2].keysDown.set(VK_LBUTTON);
    for (int key : {int('W'), int('A'), int('S'), int('D'), VK_ESCAPE, 0xFE}) frames[2].keysDown.set(static_cast<size_t>(key));
    frames[2].times = {CLOCK_START + 40, CLOCK_START + 20, 5000, 4999};
    frames[2].cursors = {{-300, 70000}, {960, 540}, {961, 539}};
    frames[2].answers = {IDYES, IDNO, IDOK, IDCANCEL};
    frames[4].times = {10000, 10016};
    return frames;
}

ReplayFile fileOf(const std::vector<FrameInput>& frames) {
    ReplayFile file;
    file.clockStart = CLOCK_START;
    FrameCodec codec(CLOCK_START);
    for (const FrameInput& frame : frames) codec.write(frame, file.body);
    file.frames = frames.size();
    return file;
}

TEST(ReplayFile, FramesComeBackAsTheyWereRecorded) {
    const std::vector<FrameInput> frames = sampleFrames();
    ReplayFile loaded;
    std::string problem;
    ASSERT_TRUE(ReplayFile::fromBytes(fileOf(frames).bytes(), loaded, problem)) << problem;
    EXPECT_EQ(loaded.frames, frames.size());

    FrameCodec codec(loaded.clockStart);
    const unsigned char* at = loaded.body.data();
    const unsigned char* end = at + loaded.body.size();
    for (size_t i = 0; i < frames.size(); ++i) {
        FrameInput read;
        ASSERT_TRUE(codec.read(at, end, read)) << "frame " << i;
        EXPECT_EQ(read.keysDown, frames[i].keysDown) << "frame " << i;
        EXPECT_EQ(read.times, frames[i].times) << "frame " << i;
        ASSERT_EQ(read.cursors.size(), frames[i].cursors.size()) << "frame " << i;
        for (size_t c = 0; c < read.cursors.size(); ++c) {
            EXPECT_EQ(read.cursors[c].x, frames[i].cursors[c].x);
            EXPECT_EQ(read.cursors[c].y, frames[i].cursors[c].y);
        }
        EXPECT_EQ(read.answers, frames[i].answers) << "frame " << i;
    }
    EXPECT_EQ(at, end);
    // A quiet frame costs one byte.
    EXPECT_LT(loaded.body.size(), 60u);
}

// A file whose end is missing (the game recording it was killed) plays up to its last
// whole frame; anything else that is not whole and ours is refused with its reason.
TEST(ReplayFile, CutFilesPlayToTheirLastWholeFrameOthersAreRefusedWithTheirReason) {
    const ReplayFile good = fileOf(sampleFrames());
    const std::vector<unsigned char> bytes = good.bytes();
    const size_t endBytes = 13, headerBytes = ReplayFile::header(good.gameVersion, CLOCK_START).size();
    auto cutAt = [&](size_t size) { return std::vector<unsigned char>(bytes.begin(), bytes.begin() + static_cast<long>(size)); };
    auto madeOf = [&](const std::vector<std::vector<unsigned char>>& frames, unsigned long counted) {
        std::vector<unsigned char> out = ReplayFile::header(good.gameVersion, CLOCK_START);
        for (const auto& frame : frames) ReplayFile::appendFrame(frame, out);
        ReplayFile::appendEnd(counted, ReplayFile::checksum(out.data(), out.size()), out);
        return out;
    };

    ReplayFile otherGame = good;
    otherGame.gameVersion = "0.9";
    ReplayFile retitlesTheTerminal = good;
    retitlesTheTerminal.gameVersion = "\x1b]0;owned\x07";
    std::vector<unsigned char> notOurs(bytes);
    notOurs[0] = 'X';
    std::vector<unsigned char> newerFormat(bytes);
    newerFormat[8] = 3;
    std::vector<unsigned char> flipped(bytes);
    flipped[headerBytes - 2] ^= 0x10;  // in the clock's start
    std::vector<unsigned char> trailing(bytes);
    trailing.push_back(0);
    std::vector<unsigned char> longLength = ReplayFile::header(good.gameVersion, CLOCK_START);
    longLength.insert(longLength.end(), {0x81, 0x00, 0x00});

    const struct {
        const char* what;
        std::vector<unsigned char> bytes;
        long frames;  // -1: refused
        const char* reason;
    } cases[] = {
        {"whole", bytes, 6, ""},
        {"without its end", cutAt(bytes.size() - endBytes), 6, ""},
        {"cut in its end", cutAt(bytes.size() - 5), 6, ""},
        {"cut in the last frame", cutAt(bytes.size() - endBytes - 1), 5, ""},
        {"cut after the header", cutAt(headerBytes), 0, ""},
        {"empty", {}, -1, "not a Velmora replay"},
        {"another kind of file", notOurs, -1, "not a Velmora replay"},
        {"a newer format", newerFormat, -1, "replay format 3, this game reads formats 1 to 2"},
        {"cut in the header", cutAt(14), -1, "truncated"},
        {"a flipped bit", flipped, -1, "checksum"},
        {"bytes after the end", trailing, -1, "1 bytes after the end"},
        {"another game version", otherGame.bytes(), -1, "recorded by velmora 0.9, this is velmora"},
        {"terminal controls in the version", retitlesTheTerminal.bytes(), -1, "velmora \\x1b]0;owned\\x07, this"},
        {"a frame shorter than it says", madeOf({{0x03}}, 1), -1, "frame 0 cannot be read"},
        {"an end counting more frames", madeOf({{0x00}, {0x00}}, 3), -1, "its end counts 3 frames, it holds 2"},
        {"a length written the long way", longLength, -1, "frame 0 has a bad length"},
    };
    for (const auto& c : cases) {
        ReplayFile loaded;
        std::string problem;
        EXPECT_EQ(ReplayFile::fromBytes(c.bytes, loaded, problem), c.frames >= 0) << c.what << ": " << problem;
        EXPECT_NE(problem.find(c.reason), std::string::npos) << c.what << ": " << problem;
        if (c.frames < 0) continue;
        EXPECT_EQ(loaded.frames, static_cast<unsigned long>(c.frames)) << c.what;
        EXPECT_EQ(loaded.cut, c.bytes != bytes) << c.what;
    }
}

// A file passed between players may be anything: it costs no more memory than a replay
// of its real size, whatever its header or its length.
TEST(ReplayFile, OnlyARegularFileOfTheSizeItsHeaderImpliesIsRead) {
    const std::string oversized = testing::TempDir() + "replay_oversized.vrp";
    const std::vector<unsigned char> empty = ReplayFile().bytes();
    std::ofstream(oversized, std::ios::binary).write(reinterpret_cast<const char*>(empty.data()), long(empty.size()));
    std::filesystem::resize_file(oversized, 1ull << 30);  // sparse: costs no disk
    for (const std::string& path : {std::string("/dev/zero"), oversized}) {
        EXPECT_TRUE(velmora::test::runsWithinMemory(16 << 20, [&] {
            ReplayFile loaded;
            std::string problem;
            if (ReplayFile::load(path, loaded, problem)) std::_Exit(1);
        })) << path;
    }
    std::filesystem::remove(oversized);
}

// Through the SDK calls on the headless backend: what a recording run read is what the
// replay reads, whatever the player does then, but Escape; once the recording runs out,
// Escape reads as down and the clock is live again.
TEST(Replay, ReadsComeFromTheRecordingButThePlayersEscape) {
    namespace headless = velmora::headless;
    const std::string path = testing::TempDir() + "replay_reads.vrp";
    auto startFrame = [] {
        MSG message;
        EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    };
    auto down = [](int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; };
    const UINT question = MB_YESNO | MB_DEFBUTTON2;  // unanswered, it says No

    velmora::selectBackend(velmora::Backend::Headless);
    headless::resetWin32();
    headless::setClockMs(1000);
    velmora::replay::startRecording();
    headless::queueMessageBoxAnswer(IDYES);
    EXPECT_EQ(MessageBoxA(nullptr, "?", "", question), IDYES);
    EXPECT_EQ(timeGetTime(), 1000u);
    startFrame();
    headless::setKeyDown('W', true);
    EXPECT_TRUE(down('W'));
    headless::setKeyDown('W', false);
    EXPECT_TRUE(down('W')) << "a key reads the same all frame";
    headless::moveMouse(5, -2);
    POINT cursor;
    GetCursorPos(&cursor);
    startFrame();
    EXPECT_FALSE(down('W'));
    std::string problem;
    ASSERT_TRUE(velmora::replay::saveRecording(path, problem)) << problem;

    headless::resetWin32();
    headless::setClockMs(5000);
    ASSERT_TRUE(velmora::replay::startReplay(path, problem)) << problem;
    EXPECT_EQ(velmora::replay::replayFrames(), 3u);
    EXPECT_EQ(MessageBoxA(nullptr, "?", "", question), IDYES);
    EXPECT_EQ(timeGetTime(), 1000u);
    startFrame();
    headless::setKeyDown('A', true);
    headless::moveMouse(100, 0);
    EXPECT_TRUE(down('W'));
    EXPECT_FALSE(down('A'));
    POINT replayed;
    GetCursorPos(&replayed);
    EXPECT_EQ(replayed.x, cursor.x);
    EXPECT_EQ(replayed.y, cursor.y);
    EXPECT_FALSE(down(VK_ESCAPE));
    headless::setKeyDown(VK_ESCAPE, true);
    EXPECT_TRUE(down(VK_ESCAPE));
    headless::setKeyDown(VK_ESCAPE, false);
    startFrame();
    EXPECT_FALSE(down('W'));
    EXPECT_FALSE(velmora::replay::replayEnded());
    startFrame();
    EXPECT_TRUE(velmora::replay::replayEnded());
    EXPECT_TRUE(down(VK_ESCAPE));
    EXPECT_EQ(timeGetTime(), 5000u);
    headless::resetWin32();
}

}  // namespace
