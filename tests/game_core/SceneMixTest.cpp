// What a player hears of the title screen: its music and its start sound rendered by
// OpenAL Soft's real mixer (loopback device), compared with the files they come from.
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>
#include <velmora/Platform.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "Application.h"
#include "GameFixture.h"
#include "STitle.h"
#include "WaveFile.h"

namespace headless = velmora::headless;

namespace {

const unsigned kMixRate = 44100;

struct Loudness {
    double seconds;  // from the first to the last audible frame
    double rms;      // over those frames, 1.0 = full scale
};

Loudness measureMix(const std::vector<float>& stereo) {
    const size_t frames = stereo.size() / 2;
    size_t first = frames;
    size_t last = 0;
    for (size_t i = 0; i < frames; ++i) {
        if (std::fabs(stereo[2 * i]) > 1e-3f) {
            if (first == frames) first = i;
            last = i;
        }
    }
    if (first == frames) return {0.0, 0.0};
    double sum = 0.0;
    for (size_t i = first; i <= last; ++i) sum += static_cast<double>(stereo[2 * i]) * stereo[2 * i];
    const size_t count = last - first + 1;
    return {static_cast<double>(count) / kMixRate, std::sqrt(sum / count)};
}

// The level and length of a mono 16-bit file as the game's own reader sees it.
Loudness measureFile(const char* path) {
    WaveFile wave;
    if (FAILED(wave.open(path)) || !wave.format) return {0.0, 0.0};
    const DWORD bytes = wave.dataChunk.cksize;
    const DWORD rate = wave.format->nSamplesPerSec;
    std::vector<BYTE> data(bytes);
    DWORD read = 0;
    if (FAILED(wave.read(bytes, data.data(), &read))) return {0.0, 0.0};
    std::vector<float> asMix;
    asMix.reserve(read);
    for (DWORD i = 0; i + 1 < read; i += 2) {
        const float sample = static_cast<int16_t>(data[i] | (data[i + 1] << 8)) / 32768.0f;
        asMix.push_back(sample);
        asMix.push_back(sample);
    }
    Loudness loudness = measureMix(asMix);
    loudness.seconds *= static_cast<double>(kMixRate) / rate;
    return loudness;
}

}  // namespace

class SceneMixTest : public gametest::GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        // The real backends, drawing offscreen so that no display is needed.
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        velmora::selectBackend(velmora::Backend::Real);
        velmora::allowOffscreenVideo(true);
        headless::resetWin32();
        velmora::audio::useLoopbackDevice(kMixRate);
        if (!startApplication()) GTEST_SKIP() << "no OpenGL 3.3 here";
    }
    void TearDown() override {
        title.reset();
        GameFixture::TearDown();
        velmora::allowOffscreenVideo(false);
        velmora::selectBackend(velmora::Backend::Headless);
        headless::resetWin32();
        unsetenv("SDL_VIDEODRIVER");
    }

    std::unique_ptr<STitle> title;
};

TEST_F(SceneMixTest, TheTitleMusicIsHeardAtItsOwnLevelAndKeepsLooping) {
    const Loudness file = measureFile("data/Sound/BGM/TitleBGM.wav");
    ASSERT_GT(file.seconds, 10.0) << "the generated title music";
    title = std::make_unique<STitle>();
    // Longer than the piece: a looping buffer is still sounding at the end.
    const std::vector<float> mix = velmora::audio::renderMix(static_cast<size_t>((file.seconds + 5.0) * kMixRate));
    const Loudness heard = measureMix(mix);
    EXPECT_NEAR(heard.rms, file.rms, file.rms * 0.1) << "unpositioned music at full level";
    EXPECT_GT(heard.seconds, file.seconds + 4.0) << "it loops past its own length";
}

TEST_F(SceneMixTest, TheStartSoundPlaysOnceForItsLength) {
    const Loudness file = measureFile("data/Sound/SE/Start.wav");
    ASSERT_GT(file.seconds, 0.05) << "the generated start sound";
    title = std::make_unique<STitle>();
    ASSERT_NE(title->bgm.buffer, nullptr);
    ASSERT_NE(title->se.buffer, nullptr);
    title->bgm.buffer->Stop();
    velmora::audio::renderMix(kMixRate / 10);

    // What the title's click plays: the start sound at the origin, once.
    title->se.buffer->Play(0, 0, 0);
    const Loudness heard = measureMix(velmora::audio::renderMix(static_cast<size_t>((file.seconds + 1.0) * kMixRate)));
    EXPECT_NEAR(heard.seconds, file.seconds, 0.02);
    EXPECT_NEAR(heard.rms, file.rms, file.rms * 0.1) << "at the origin, heard centred at full level";
}
