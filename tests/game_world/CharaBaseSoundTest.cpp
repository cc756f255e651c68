// The duplicate sound buffer that every noisy object prepares for 3-D playback.
#include <velmora/HeadlessAudio.h>

#include "SoundLoader.h"
#include "WorldTestSupport.h"

using namespace gametest;
using namespace worldtest;

namespace {

class SoundTest : public WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
        g_soundLoader.loadWave(&buffer, &buffer3d, "data/Sound/SE/ExploSE.wav", device);
        ASSERT_NE(buffer, nullptr) << "data/Sound/SE/ExploSE.wav";
    }
    void TearDown() override {
        if (buffer3d) buffer3d->Release();
        if (buffer) buffer->Release();
        if (device) device->Release();
        WorldTest::TearDown();
    }
    IDirectSound8* device = nullptr;
    IDirectSoundBuffer8* buffer = nullptr;
    IDirectSound3DBuffer* buffer3d = nullptr;
};

TEST_F(SoundTest, PreparingTheDuplicateLeavesNothingBehind) {
    Thing thing;
    const size_t before = velmora::audio::liveBuffers().size();
    ASSERT_EQ(device->DuplicateSoundBuffer(buffer, &thing.DupBuffer), DS_OK);
    ASSERT_EQ(velmora::audio::liveBuffers().size(), before + 1);

    thing.InitSound3D(buffer, buffer3d);
    EXPECT_EQ(thing.DupBuffer, nullptr);
    EXPECT_EQ(velmora::audio::liveBuffers().size(), before) << "the duplicate is never played";
    // The buffers handed in by value are not the ones prepared.
    const auto original = velmora::audio::stateOf(buffer);
    ASSERT_TRUE(original.has_value());
    EXPECT_FALSE(original->playing);
    EXPECT_EQ(original->playCalls, 0u);
}

}  // namespace
