// Play state of secondary buffers in the headless backend, where a playing buffer's
// cursor follows the virtual clock.
#include <cstring>

#include "SoundTestSupport.h"
#include "velmora/HeadlessAudio.h"
#include "velmora/HeadlessInput.h"

namespace {

using namespace soundtest;
using velmora::headless::advanceClock;

// One second of 16-bit mono at 22050 Hz: 2 bytes per frame, 44.1 bytes per millisecond.
constexpr DWORD kRate = 22050;
constexpr DWORD kBytes = kRate * 2;
constexpr DWORD bytesAfterMs(DWORD ms) { return kRate * ms / 1000 * 2; }

class HeadlessPlaybackTest : public HeadlessSoundTest {
protected:
    void SetUp() override {
        HeadlessSoundTest::SetUp();
        device = newDevice();
        buffer = createBuffer(device, pcmFormat(1, kRate, 16), kBytes, kGameBufferFlags);
        ASSERT_NE(buffer, nullptr);
    }
    void TearDown() override {
        if (buffer) buffer->Release();
        HeadlessSoundTest::TearDown();
    }

    IDirectSound8* device = nullptr;
    IDirectSoundBuffer8* buffer = nullptr;
};

TEST_F(HeadlessPlaybackTest, PlayAdvancesWithTheClockAndPlayingAgainPlaysOn) {
    EXPECT_EQ(statusOf(buffer), 0u);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(statusOf(buffer), static_cast<DWORD>(DSBSTATUS_PLAYING));
    advanceClock(250);
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(250));

    // The explosion rule: Play on a playing buffer does not restart it.
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(250));
    advanceClock(100);
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(350));
    EXPECT_EQ(velmora::audio::playCalls(), 2u);
    EXPECT_EQ(velmora::audio::stateOf(buffer)->playCalls, 2u);
}

TEST_F(HeadlessPlaybackTest, StopKeepsThePositionAndPlayResumesThere) {
    buffer->Play(0, 0, 0);
    advanceClock(400);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(statusOf(buffer), 0u);
    advanceClock(1000);
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(400));
    buffer->Play(0, 0, 0);
    advanceClock(100);
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(500));
}

TEST_F(HeadlessPlaybackTest, SetCurrentPositionRewindsAndSeeksWithinTheData) {
    buffer->Play(0, 0, 0);
    advanceClock(300);
    buffer->Stop();
    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    EXPECT_EQ(cursorOf(buffer), 0u);

    // Floored to whole frames; the end of the data is out of range.
    EXPECT_EQ(buffer->SetCurrentPosition(1001), DS_OK);
    EXPECT_EQ(cursorOf(buffer), 1000u);
    EXPECT_EQ(buffer->SetCurrentPosition(kBytes), DSERR_INVALIDPARAM);
    EXPECT_EQ(cursorOf(buffer), 1000u);

    // While playing the cursor jumps and goes on from there.
    buffer->Play(0, 0, 0);
    ASSERT_EQ(buffer->SetCurrentPosition(bytesAfterMs(800)), DS_OK);
    advanceClock(100);
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(900));
}

TEST_F(HeadlessPlaybackTest, AOneShotStopsAtItsEndAndRewinds) {
    buffer->Play(0, 0, 0);
    advanceClock(999);
    EXPECT_EQ(statusOf(buffer), static_cast<DWORD>(DSBSTATUS_PLAYING));
    advanceClock(2);
    EXPECT_EQ(statusOf(buffer), 0u);
    EXPECT_EQ(cursorOf(buffer), 0u);
    EXPECT_EQ(velmora::audio::voicesInUse(), 0u);
    // The next Play starts from the beginning.
    buffer->Play(0, 0, 0);
    advanceClock(10);
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(10));
}

TEST_F(HeadlessPlaybackTest, LoopingWrapsUntilPlayedWithoutTheFlag) {
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    advanceClock(2300);
    EXPECT_EQ(statusOf(buffer), static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(300));

    // Played again without the flag it plays on and ends at the end of the data.
    buffer->Play(0, 0, 0);
    EXPECT_EQ(statusOf(buffer), static_cast<DWORD>(DSBSTATUS_PLAYING));
    advanceClock(650);
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(950));
    advanceClock(100);
    EXPECT_EQ(statusOf(buffer), 0u);
    EXPECT_EQ(cursorOf(buffer), 0u);
}

TEST_F(HeadlessPlaybackTest, FrequencySetsThePlaybackRate) {
    DWORD frequency = 0;
    ASSERT_EQ(buffer->GetFrequency(&frequency), DS_OK);
    EXPECT_EQ(frequency, kRate);
    ASSERT_EQ(buffer->SetFrequency(kRate * 2), DS_OK);
    buffer->Play(0, 0, 0);
    advanceClock(100);
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(200));
    // Changing it while playing keeps the position reached.
    ASSERT_EQ(buffer->SetFrequency(DSBFREQUENCY_ORIGINAL), DS_OK);
    advanceClock(100);
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(300));
    buffer->GetFrequency(&frequency);
    EXPECT_EQ(frequency, kRate);
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MIN - 1), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetFrequency(DSBFREQUENCY_MAX + 1), DSERR_INVALIDPARAM);
}

TEST_F(HeadlessPlaybackTest, ADuplicateSharesTheDataButHasItsOwnCursor) {
    fill(buffer, std::string(kBytes, '\x11'));
    buffer->SetVolume(-300);
    IDirectSound3DBuffer* threeD = threeDOf(buffer);
    threeD->SetMode(DS3DMODE_DISABLE, DS3D_IMMEDIATE);
    threeD->Release();
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    advanceClock(200);

    IDirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(device->DuplicateSoundBuffer(buffer, &duplicate), DS_OK);
    EXPECT_EQ(statusOf(duplicate), 0u);
    EXPECT_EQ(cursorOf(duplicate), 0u);
    LONG volume = 0;
    duplicate->GetVolume(&volume);
    EXPECT_EQ(volume, -300);
    auto original = velmora::audio::stateOf(buffer);
    auto copy = velmora::audio::stateOf(duplicate);
    ASSERT_TRUE(original && copy);
    EXPECT_EQ(copy->dataId, original->dataId);
    EXPECT_EQ(copy->dataTag, original->dataTag);
    EXPECT_EQ(copy->mode3D, static_cast<DWORD>(DS3DMODE_DISABLE));

    // Bytes written through the duplicate are the original's bytes.
    void* region = nullptr;
    DWORD regionBytes = 0;
    ASSERT_EQ(duplicate->Lock(0, 4, &region, &regionBytes, nullptr, nullptr, 0), DS_OK);
    std::memcpy(region, "\x7F\x7F\x7F\x7F", 4);
    duplicate->Unlock(region, regionBytes, nullptr, 0);
    ASSERT_EQ(buffer->Lock(0, 4, &region, &regionBytes, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(std::memcmp(region, "\x7F\x7F\x7F\x7F", 4), 0);
    buffer->Unlock(region, regionBytes, nullptr, 0);

    duplicate->Play(0, 0, 0);
    advanceClock(100);
    EXPECT_EQ(cursorOf(duplicate), bytesAfterMs(100));
    EXPECT_EQ(cursorOf(buffer), bytesAfterMs(300));
    EXPECT_EQ(velmora::audio::voicesInUse(), 2u);
    duplicate->Release();
}

TEST_F(HeadlessPlaybackTest, ReleasingAPlayingBufferStopsItButNotItsDuplicate) {
    IDirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(device->DuplicateSoundBuffer(buffer, &duplicate), DS_OK);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    duplicate->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(velmora::audio::voicesInUse(), 2u);

    buffer->Release();
    buffer = nullptr;
    EXPECT_EQ(velmora::audio::voicesInUse(), 1u);
    ASSERT_EQ(velmora::audio::liveBuffers().size(), 1u);
    advanceClock(50);
    EXPECT_EQ(statusOf(duplicate), static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
    duplicate->Release();
    EXPECT_TRUE(velmora::audio::liveBuffers().empty());
}

}  // namespace
