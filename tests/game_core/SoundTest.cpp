// Loading sounds into DirectSound buffers, and the music and start sound of the scenes.
#include <velmora/HeadlessAudio.h>
#include <velmora/HeadlessInput.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

#include "Application.h"
#include "ComRelease.h"
#include "GameFixture.h"
#include "SClear.h"
#include "SGameOver.h"
#include "STitle.h"
#include "SoundLoader.h"
#include "TestFiles.h"
#include "WaveBytes.h"

namespace audio = velmora::audio;
namespace headless = velmora::headless;

namespace {

// The live buffer holding the data chunk of a game file, if any.
std::optional<audio::BufferState> bufferOf(const char* file) {
    uint64_t tag = audio::waveDataTag(file);
    for (const audio::BufferState& state : audio::liveBuffers())
        if (state.dataTag == tag) return state;
    return std::nullopt;
}

}  // namespace

class SoundLoaderTest : public gametest::GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        ASSERT_TRUE(startApplication());
        ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
        g_soundLoader.setUpPrimary(device);
    }
    void TearDown() override {
        releaseInterface(loaded.buffer3D);
        releaseInterface(loaded.buffer);
        releaseInterface(device);
        GameFixture::TearDown();
    }

    void load(const Bytes& file) {
        g_soundLoader.loadWave(&loaded.buffer, &loaded.buffer3D, folder.write("s.wav", file).c_str(), device);
    }

    IDirectSound8* device = nullptr;
    SoundBuffer loaded = {nullptr, nullptr};
    TempDir folder;
};

TEST_F(SoundLoaderTest, AMonoFileBecomesOneBufferWithItsWholeDataAnd3DControl) {
    EXPECT_NE(g_soundLoader.primaryBuffer, nullptr);
    Bytes data = samples(30000, 5);
    load(monoWave(data));
    ASSERT_NE(loaded.buffer, nullptr);
    ASSERT_NE(loaded.buffer3D, nullptr);
    std::optional<audio::BufferState> state = audio::stateOf(loaded.buffer);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->dataSize, 30000u);
    EXPECT_EQ(state->dataTag, audio::dataTag(data.data(), data.size())) << "every byte copied in";
    EXPECT_EQ(state->channels, 1);
    EXPECT_EQ(state->sampleRate, 22050u);
    EXPECT_TRUE(state->control3D);
    EXPECT_FALSE(state->playing);
    EXPECT_EQ(audio::stateOf(loaded.buffer3D)->id, state->id) << "the 3D interface of the same buffer";
}

TEST_F(SoundLoaderTest, UnreadableFilesAndStereoFilesGiveNoBuffer) {
    Bytes stereo = riff("WAVE", {chunk("fmt ", pcmFormat(1, 2, 44100, 16)), chunk("data", samples(400, 1))});
    Bytes notWave = riff("AVI ", {chunk("fmt ", pcmFormat(1, 1, 22050, 16)), chunk("data", samples(40, 1))});
    Bytes garbage = samples(999, 3);
    Bytes full = monoWave(samples(400, 2));
    Bytes truncatedHeader(full.begin(), full.begin() + 20);
    for (const Bytes& file : {stereo, notWave, garbage, truncatedHeader, Bytes()}) {
        load(file);
        EXPECT_EQ(loaded.buffer, nullptr);
        EXPECT_EQ(loaded.buffer3D, nullptr);
    }
    g_soundLoader.loadWave(&loaded.buffer, &loaded.buffer3D, (folder.path() + "/none.wav").c_str(), device);
    EXPECT_EQ(loaded.buffer, nullptr);
    EXPECT_TRUE(audio::liveBuffers().empty());
}

TEST_F(SoundLoaderTest, ADataChunkClaimingMoreThanTheFileHoldsGetsOnlyWhatIsThere) {
    const std::string made = folder.path() + "/sox.wav";
    ASSERT_EQ(std::system(("sox -n -r 22050 -b 16 -c 1 " + made + " synth 0.5 sine 440").c_str()), 0);
    std::ifstream in(made, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    auto data = std::search(bytes.begin(), bytes.end(), std::begin("data"), std::end("data") - 1);
    ASSERT_NE(data, bytes.end());
    const size_t dataStart = size_t(data - bytes.begin()) + 8;
    // Cut to 2 KB, while the header claims the largest buffer there is.
    bytes.resize(2048);
    const uint32_t claimed = DSBSIZE_MAX;
    for (int i = 0; i < 4; ++i) bytes[dataStart - 4 + i] = uint8_t(claimed >> (8 * i));
    load(bytes);
    ASSERT_NE(loaded.buffer, nullptr);
    std::optional<audio::BufferState> state = audio::stateOf(loaded.buffer);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->dataSize, bytes.size() - dataStart);
    EXPECT_EQ(state->dataTag, audio::dataTag(bytes.data() + dataStart, bytes.size() - dataStart));
}

TEST_F(SoundLoaderTest, WithoutASoundDeviceNothingIsLoadedAndNothingFails) {
    g_soundLoader.setUpPrimary(nullptr);
    g_soundLoader.loadWave(&loaded.buffer, &loaded.buffer3D, folder.write("s.wav", monoWave(samples(10, 0))).c_str(),
                           nullptr);
    EXPECT_EQ(loaded.buffer, nullptr);
}

TEST_F(SoundLoaderTest, ANewDeviceReplacesThePrimaryBufferAndLetsTheOldOneGo) {
    IDirectSoundBuffer* first = g_soundLoader.primaryBuffer;
    ASSERT_NE(first, nullptr);
    first->AddRef();
    IDirectSound8* second = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &second, nullptr), DS_OK);
    g_soundLoader.setUpPrimary(second);
    EXPECT_NE(g_soundLoader.primaryBuffer, first);
    EXPECT_EQ(first->Release(), 0u) << "the loader no longer holds the first primary buffer";
    releaseInterface(second);
}

class SceneSoundTest : public gametest::GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        ASSERT_TRUE(startApplication());
    }
};

TEST_F(SceneSoundTest, TheTitlePlaysItsMusicLoopingAndHoldsOnlyWhatItUses) {
    auto title = std::make_unique<STitle>();
    std::optional<audio::BufferState> music = bufferOf("data/Sound/BGM/TitleBGM.wav");
    ASSERT_TRUE(music.has_value()) << "the generated title music loaded";
    EXPECT_TRUE(music->playing);
    EXPECT_TRUE(music->looping);
    EXPECT_EQ(music->mode3D, static_cast<DWORD>(DS3DMODE_DISABLE));
    EXPECT_EQ(title->bgmFrequency, music->frequency);

    // The start sound is the duplicate, at the origin with 3D processing on; the buffer
    // it was duplicated from is gone.
    std::optional<audio::BufferState> start = audio::stateOf(title->se.buffer);
    ASSERT_TRUE(start.has_value());
    EXPECT_EQ(start->dataTag, audio::waveDataTag("data/Sound/SE/Start.wav"));
    EXPECT_EQ(start->mode3D, static_cast<DWORD>(DS3DMODE_NORMAL));
    EXPECT_FLOAT_EQ(start->position[0], 0.0f);
    EXPECT_FALSE(start->playing);
    EXPECT_EQ(title->seDuplicate, nullptr);
    EXPECT_EQ(audio::liveBuffers().size(), 2u);
    EXPECT_EQ(audio::liveDevices(), 2u) << "one device for the music, one for the start sound";
    EXPECT_EQ(headless::comInitCount(), 1);

    title.reset();
    EXPECT_EQ(audio::liveDevices(), 0u) << "both devices released with the scene";
    EXPECT_TRUE(audio::liveBuffers().empty());
    EXPECT_EQ(headless::comInitCount(), 0);
}

TEST_F(SceneSoundTest, TheStartSoundPlaysOnceHoweverLongTheButtonIsHeld) {
    STitle title;
    unsigned before = audio::playCalls();
    headless::setKeyDown(VK_LBUTTON, true);
    for (int frame = 0; frame < 60; ++frame) title.Update();
    EXPECT_EQ(audio::playCalls() - before, 1u);
    std::optional<audio::BufferState> start = audio::stateOf(title.se.buffer);
    ASSERT_TRUE(start.has_value());
    EXPECT_EQ(start->playCalls, 1u);
}

TEST_F(SceneSoundTest, EachScreenPlaysItsOwnMusicAndStopsItWhenLeft) {
    g_sceneManager = new SceneManager;
    const char* title = "data/Sound/BGM/TitleBGM.wav";
    const char* result = "data/Sound/BGM/ResultBGM.wav";
    const char* gameOver = "data/Sound/BGM/GameOverBGM.wav";
    ASSERT_TRUE(bufferOf(title).has_value());
    EXPECT_TRUE(bufferOf(title)->playing);

    g_sceneManager->changeScene(2);
    EXPECT_FALSE(bufferOf(title).has_value()) << "the title's music went with it";
    ASSERT_TRUE(bufferOf(result).has_value());
    EXPECT_TRUE(bufferOf(result)->looping);

    g_sceneManager->changeScene(3);
    EXPECT_FALSE(bufferOf(result).has_value());
    ASSERT_TRUE(bufferOf(gameOver).has_value());
    EXPECT_TRUE(bufferOf(gameOver)->playing);
    EXPECT_EQ(audio::liveDevices(), 1u);

    g_sceneManager->changeScene(0);
    EXPECT_FALSE(bufferOf(gameOver).has_value());
    ASSERT_TRUE(bufferOf(title).has_value());
    EXPECT_EQ(bufferOf(title)->cursor, 0u) << "a fresh title starts its music from the beginning";
    EXPECT_EQ(headless::comInitCount(), 1);
}

TEST_F(SceneSoundTest, WithoutASoundCardTheScreensRunSilently) {
    audio::useNoAudioDevice();
    g_sceneManager = new SceneManager;
    ASSERT_NE(g_sceneManager->currentScene, nullptr);
    EXPECT_EQ(g_sceneManager->currentScene->bgm.buffer, nullptr);
    headless::setKeyDown(VK_LBUTTON, true);
    for (int frame = 0; frame < 60; ++frame) {
        g_sceneManager->update();
        g_sceneManager->draw();
    }
    headless::setKeyDown(VK_LBUTTON, false);
    EXPECT_EQ(audio::playCalls(), 0u);
    g_sceneManager->changeScene(3);
    EXPECT_EQ(g_sceneManager->currentScene->bgm.buffer, nullptr);
}
