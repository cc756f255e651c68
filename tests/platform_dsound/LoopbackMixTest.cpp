// What a player would hear: the real OpenAL mix rendered through the loopback device.
#include <cmath>
#include <vector>

#include "SoundTestSupport.h"
#include "velmora/HeadlessAudio.h"
#include "velmora/Platform.h"

namespace {

using namespace soundtest;

constexpr DWORD kRate = 44100;
constexpr DWORD kToneFrames = 4410;  // 0.1 s
constexpr double kAmplitude = 0.5;

struct MixMeasure {
    std::size_t soundingFrames;  // frames from the first to the last audible one
    double leftRms;              // over the sounding frames
    double rightRms;
};

MixMeasure measure(const std::vector<float>& mix) {
    std::size_t frames = mix.size() / 2;
    std::size_t first = frames;
    std::size_t last = 0;
    for (std::size_t i = 0; i < frames; ++i) {
        if (std::fabs(mix[2 * i]) > 1e-4f || std::fabs(mix[2 * i + 1]) > 1e-4f) {
            if (first == frames) first = i;
            last = i;
        }
    }
    if (first == frames) return {0, 0.0, 0.0};
    double left = 0.0;
    double right = 0.0;
    for (std::size_t i = first; i <= last; ++i) {
        left += static_cast<double>(mix[2 * i]) * mix[2 * i];
        right += static_cast<double>(mix[2 * i + 1]) * mix[2 * i + 1];
    }
    std::size_t count = last - first + 1;
    return {count, std::sqrt(left / count), std::sqrt(right / count)};
}

// The RMS of a full-scale-relative sine of this amplitude.
const double kToneRms = kAmplitude / std::sqrt(2.0);

class LoopbackMixTest : public ::testing::Test {
protected:
    void SetUp() override {
        velmora::selectBackend(velmora::Backend::Real);
        velmora::audio::useLoopbackDevice(kRate);
        ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
    }
    void TearDown() override {
        for (IDirectSoundBuffer8* buffer : buffers) buffer->Release();
        if (device) device->Release();
        velmora::audio::resetAudio();
    }
    // A mono tone loaded as the game loads its sounds.
    IDirectSoundBuffer8* toneBuffer(DWORD frames = kToneFrames) {
        IDirectSoundBuffer8* buffer = createBuffer(device, pcmFormat(1, kRate, 16), frames * 2, kGameBufferFlags);
        fill(buffer, tone16(frames, 1, kAmplitude, 441.0, kRate));
        buffers.push_back(buffer);
        return buffer;
    }
    static void setMode(IDirectSoundBuffer* buffer, DWORD mode) {
        IDirectSound3DBuffer* threeD = threeDOf(buffer);
        threeD->SetMode(mode, DS3D_IMMEDIATE);
        threeD->Release();
    }

    IDirectSound8* device = nullptr;
    std::vector<IDirectSoundBuffer8*> buffers;
};

TEST_F(LoopbackMixTest, AToneReachesBothSpeakersAtItsLevelForItsLength) {
    // Music (3D off) and an effect at the origin (3D on) are both heard centred.
    for (DWORD mode : {DS3DMODE_DISABLE, DS3DMODE_NORMAL}) {
        IDirectSoundBuffer8* buffer = toneBuffer();
        setMode(buffer, mode);
        ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
        MixMeasure heard = measure(velmora::audio::renderMix(kToneFrames * 2));
        EXPECT_NEAR(static_cast<double>(heard.soundingFrames), kToneFrames, 2.0);
        EXPECT_NEAR(heard.leftRms, kToneRms, kToneRms * 0.01);
        EXPECT_NEAR(heard.rightRms, kToneRms, kToneRms * 0.01);
        EXPECT_EQ(statusOf(buffer), 0u);
        EXPECT_EQ(cursorOf(buffer), 0u);
    }
    EXPECT_EQ(velmora::audio::voicesInUse(), 0u);
}

TEST_F(LoopbackMixTest, VolumeAttenuatesInHundredthsOfADecibel) {
    IDirectSoundBuffer8* buffer = toneBuffer();
    ASSERT_EQ(buffer->SetVolume(-600), DS_OK);
    buffer->Play(0, 0, 0);
    MixMeasure heard = measure(velmora::audio::renderMix(kToneFrames));
    EXPECT_NEAR(heard.leftRms / kToneRms, std::pow(10.0, -600 / 2000.0), 0.01);
}

TEST_F(LoopbackMixTest, APositionedSoundIsPannedAndAttenuated) {
    IDirectSoundBuffer8* buffer = toneBuffer();
    IDirectSound3DBuffer* threeD = threeDOf(buffer);
    ASSERT_EQ(threeD->SetPosition(4.0f, 0.0f, 0.0f, DS3D_IMMEDIATE), DS_OK);  // to the listener's right
    threeD->Release();
    buffer->Play(0, 0, 0);
    MixMeasure heard = measure(velmora::audio::renderMix(kToneFrames));
    EXPECT_GT(heard.rightRms, 2.0 * heard.leftRms);
    EXPECT_LT(heard.rightRms, kToneRms * 0.5);  // four times the reference distance away
}

TEST_F(LoopbackMixTest, PlayingAgainDoesNotRestartAndStopKeepsThePosition) {
    IDirectSoundBuffer8* buffer = toneBuffer();
    buffer->Play(0, 0, 0);
    std::vector<float> heard = velmora::audio::renderMix(1000);
    buffer->Play(0, 0, 0);
    std::vector<float> more = velmora::audio::renderMix(1000);
    heard.insert(heard.end(), more.begin(), more.end());

    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(cursorOf(buffer), 2000u * 2);
    EXPECT_EQ(measure(velmora::audio::renderMix(1000)).soundingFrames, 0u);
    buffer->Play(0, 0, 0);
    more = velmora::audio::renderMix(kToneFrames);
    heard.insert(heard.end(), more.begin(), more.end());
    // Pieced together, the three parts are the tone once, neither longer nor shorter.
    EXPECT_NEAR(static_cast<double>(measure(heard).soundingFrames), kToneFrames, 2.0);

    // Stop and rewind: the next Play is heard from the beginning, whole.
    buffer->Play(0, 0, 0);
    velmora::audio::renderMix(1000);
    buffer->Stop();
    buffer->SetCurrentPosition(0);
    buffer->Play(0, 0, 0);
    EXPECT_NEAR(static_cast<double>(measure(velmora::audio::renderMix(kToneFrames * 2)).soundingFrames), kToneFrames,
                2.0);
}

TEST_F(LoopbackMixTest, LoopingMusicPlaysOnUntilReleased) {
    IDirectSoundBuffer8* buffer = toneBuffer();
    setMode(buffer, DS3DMODE_DISABLE);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    MixMeasure heard = measure(velmora::audio::renderMix(kToneFrames * 3 + 100));
    EXPECT_EQ(heard.soundingFrames, kToneFrames * 3 + 100 - 1);  // the first sample of the sine is 0
    EXPECT_EQ(statusOf(buffer), static_cast<DWORD>(DSBSTATUS_PLAYING | DSBSTATUS_LOOPING));
    EXPECT_EQ(cursorOf(buffer), 100u * 2);

    buffers.clear();
    buffer->Release();
    EXPECT_EQ(measure(velmora::audio::renderMix(1000)).soundingFrames, 0u);
}

TEST_F(LoopbackMixTest, ADuplicatePlaysTheSameDataAlongside) {
    IDirectSoundBuffer8* buffer = toneBuffer();
    IDirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(device->DuplicateSoundBuffer(buffer, &duplicate), DS_OK);
    buffer->Play(0, 0, 0);
    duplicate->Play(0, 0, 0);
    MixMeasure together = measure(velmora::audio::renderMix(kToneFrames));
    EXPECT_NEAR(together.leftRms, 2.0 * kToneRms, 2.0 * kToneRms * 0.01);
    duplicate->Release();
}

TEST_F(LoopbackMixTest, FrequencyStretchesTheSound) {
    IDirectSoundBuffer8* buffer = toneBuffer();
    ASSERT_EQ(buffer->SetFrequency(kRate / 2), DS_OK);
    buffer->Play(0, 0, 0);
    EXPECT_NEAR(static_cast<double>(measure(velmora::audio::renderMix(kToneFrames * 3)).soundingFrames),
                kToneFrames * 2, 4.0);
}

TEST_F(LoopbackMixTest, AtMost256BuffersSoundAtOnce) {
    std::vector<IDirectSoundBuffer8*> many;
    for (int i = 0; i < 300; ++i) many.push_back(toneBuffer(64));
    for (int i = 0; i < 256; ++i) ASSERT_EQ(many[i]->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(many[256]->Play(0, 0, DSBPLAY_LOOPING), DSERR_ALLOCATED);
    many[0]->Stop();
    EXPECT_EQ(many[256]->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(velmora::audio::voicesInUse(), 256u);
}

// Plays share what the output made from the data until the data is written: the play
// under way keeps what it started with, the next one is heard with the new bytes, in
// either layout and from a duplicate alike.
TEST_F(LoopbackMixTest, AWriteIsHeardFromTheNextPlayOfTheBufferAndItsDuplicates) {
    IDirectSoundBuffer8* buffer = toneBuffer();
    IDirectSoundBuffer* duplicate = nullptr;
    ASSERT_EQ(device->DuplicateSoundBuffer(buffer, &duplicate), DS_OK);
    IDirectSound3DBuffer* threeD = threeDOf(duplicate);
    threeD->SetPosition(4.0f, 0.0f, 0.0f, DS3D_IMMEDIATE);
    threeD->Release();
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    duplicate->Play(0, 0, 0);
    velmora::audio::renderMix(100);
    duplicate->Stop();

    fill(buffer, tone16(kToneFrames, 1, kAmplitude / 2, 441.0, kRate));
    EXPECT_NEAR(measure(velmora::audio::renderMix(kToneFrames)).leftRms, kToneRms, kToneRms * 0.01);
    buffer->Stop();
    buffer->SetCurrentPosition(0);
    buffer->Play(0, 0, 0);
    EXPECT_NEAR(measure(velmora::audio::renderMix(kToneFrames * 2)).leftRms, kToneRms / 2, kToneRms * 0.01);

    // Positioned four times the reference distance to the right, the duplicate's mono
    // layout, made before the write, is made again from the new bytes.
    ASSERT_EQ(duplicate->Play(0, 0, 0), DS_OK);
    velmora::audio::renderMix(kToneFrames * 2);
    fill(buffer, tone16(kToneFrames, 1, kAmplitude / 4, 441.0, kRate));
    duplicate->Play(0, 0, 0);
    MixMeasure positioned = measure(velmora::audio::renderMix(kToneFrames * 2));
    EXPECT_NEAR(positioned.rightRms, kToneRms / 16, kToneRms / 16 * 0.02);
    EXPECT_LT(positioned.leftRms, positioned.rightRms / 2);
    duplicate->Release();
}

}  // namespace
