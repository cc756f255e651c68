// Creating, querying, filling and releasing DirectSound objects (headless backend).
#include <cstring>
#include <string>
#include <vector>

#include "RiffBuilder.h"
#include "SoundTestSupport.h"
#include "velmora/HeadlessAudio.h"
#include "velmora/HeadlessInput.h"
#include "velmora/Platform.h"

namespace {

using namespace soundtest;

using SoundObjectTest = HeadlessSoundTest;

TEST_F(SoundObjectTest, ThreeDControlNeedsOneChannel) {
    IDirectSound8* device = newDevice();
    HRESULT result = DS_OK;
    EXPECT_EQ(createBuffer(device, pcmFormat(2, 44100, 16), 4000, kGameBufferFlags, &result), nullptr);
    EXPECT_EQ(result, DSERR_INVALIDPARAM);
    EXPECT_EQ(createBuffer(device, pcmFormat(1, 44100, 16), 4000, DSBCAPS_CTRL3D | DSBCAPS_CTRLPAN, &result), nullptr);
    EXPECT_EQ(result, DSERR_INVALIDPARAM);
    EXPECT_TRUE(velmora::audio::liveBuffers().empty());

    IDirectSoundBuffer8* stereo = createBuffer(device, pcmFormat(2, 44100, 16), 4000, DSBCAPS_CTRLVOLUME);
    IDirectSoundBuffer8* mono3D = createBuffer(device, pcmFormat(1, 44100, 8), 4000, kGameBufferFlags);
    ASSERT_NE(stereo, nullptr);
    ASSERT_NE(mono3D, nullptr);
    IDirectSound3DBuffer* none = nullptr;
    EXPECT_EQ(stereo->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&none)), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    stereo->Release();
    mono3D->Release();
}

TEST_F(SoundObjectTest, OnlyPcmOfEightOrSixteenBitsMakesABuffer) {
    IDirectSound8* device = newDevice();
    HRESULT result = DS_OK;
    WAVEFORMATEX format = pcmFormat(1, 22050, 16);
    format.wBitsPerSample = 24;
    format.nBlockAlign = 3;
    EXPECT_EQ(createBuffer(device, format, 3000, 0, &result), nullptr);
    EXPECT_EQ(result, DSERR_BADFORMAT);
    EXPECT_EQ(createBuffer(device, pcmFormat(1, 22050, 16), DSBSIZE_MIN - 1, 0, &result), nullptr);
    EXPECT_EQ(result, DSERR_INVALIDPARAM);
}

TEST_F(SoundObjectTest, VolumeStaysWithinTheDecibelRange) {
    IDirectSound8* device = newDevice();
    IDirectSoundBuffer8* buffer = createBuffer(device, pcmFormat(1, 22050, 16), 4000, kGameBufferFlags);
    LONG volume = 1;
    ASSERT_EQ(buffer->GetVolume(&volume), DS_OK);
    EXPECT_EQ(volume, 0);
    // What a dragonfly asks for: above the maximum, refused, nothing changes.
    EXPECT_EQ(buffer->SetVolume(10), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->SetVolume(DSBVOLUME_MIN - 1), DSERR_INVALIDPARAM);
    buffer->GetVolume(&volume);
    EXPECT_EQ(volume, 0);
    EXPECT_EQ(buffer->SetVolume(DSBVOLUME_MIN), DS_OK);
    buffer->GetVolume(&volume);
    EXPECT_EQ(volume, DSBVOLUME_MIN);
    buffer->Release();

    IDirectSoundBuffer8* fixed = createBuffer(device, pcmFormat(1, 22050, 16), 4000, DSBCAPS_CTRL3D);
    EXPECT_EQ(fixed->SetVolume(-100), DSERR_CONTROLUNAVAIL);
    EXPECT_EQ(fixed->SetFrequency(11025), DSERR_CONTROLUNAVAIL);
    fixed->Release();
}

TEST_F(SoundObjectTest, TheThreeDInterfaceIsPartOfTheBuffer) {
    IDirectSound8* device = newDevice();
    IDirectSoundBuffer8* buffer = createBuffer(device, pcmFormat(1, 22050, 16), 4000, kGameBufferFlags);
    IDirectSound3DBuffer* threeD = threeDOf(buffer);
    ASSERT_NE(threeD, nullptr);

    IDirectSoundBuffer8* back = nullptr;
    ASSERT_EQ(threeD->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&back)), S_OK);
    EXPECT_EQ(back, buffer);
    back->Release();

    DWORD mode = 99;
    ASSERT_EQ(threeD->GetMode(&mode), DS_OK);
    EXPECT_EQ(mode, static_cast<DWORD>(DS3DMODE_NORMAL));
    EXPECT_EQ(threeD->SetMode(DS3DMODE_DISABLE, DS3D_IMMEDIATE), DS_OK);
    EXPECT_EQ(threeD->SetMode(3, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    threeD->GetMode(&mode);
    EXPECT_EQ(mode, static_cast<DWORD>(DS3DMODE_DISABLE));
    EXPECT_EQ(threeD->SetPosition(1.0f, 2.0f, 3.0f, DS3D_IMMEDIATE), DS_OK);
    auto state = velmora::audio::stateOf(threeD);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->buffer, buffer);
    EXPECT_EQ(state->position[2], 3.0f);

    // The references of both interfaces keep the one object alive.
    buffer->Release();
    EXPECT_EQ(velmora::audio::liveBuffers().size(), 1u);
    threeD->Release();
    EXPECT_TRUE(velmora::audio::liveBuffers().empty());
}

TEST_F(SoundObjectTest, LockHandsOutOneOrTwoRegionsOfTheData) {
    IDirectSound8* device = newDevice();
    IDirectSoundBuffer8* buffer = createBuffer(device, pcmFormat(1, 22050, 8), 1000, kGameBufferFlags);
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;

    // An 8-bit buffer starts silent (0x80).
    ASSERT_EQ(buffer->Lock(0, 0, &first, &firstBytes, &second, &secondBytes, DSBLOCK_ENTIREBUFFER), DS_OK);
    EXPECT_EQ(firstBytes, 1000u);
    EXPECT_EQ(secondBytes, 0u);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(static_cast<BYTE*>(first)[999], 0x80);
    BYTE* start = static_cast<BYTE*>(first);
    buffer->Unlock(first, firstBytes, second, secondBytes);
    uint64_t silentTag = velmora::audio::stateOf(buffer)->dataTag;

    // Past the end the lock wraps around to the start.
    ASSERT_EQ(buffer->Lock(900, 300, &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    EXPECT_EQ(first, start + 900);
    EXPECT_EQ(firstBytes, 100u);
    EXPECT_EQ(second, start);
    EXPECT_EQ(secondBytes, 200u);
    std::memset(second, 0x10, secondBytes);
    EXPECT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
    EXPECT_NE(velmora::audio::stateOf(buffer)->dataTag, silentTag);

    EXPECT_EQ(buffer->Lock(1000, 10, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Lock(0, 1001, &first, &firstBytes, nullptr, nullptr, 0), DSERR_INVALIDPARAM);
    BYTE foreign[4];
    EXPECT_EQ(buffer->Unlock(foreign, 4, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(buffer->Unlock(start + 990, 20, nullptr, 0), DSERR_INVALIDPARAM);
    buffer->Release();
}

TEST_F(SoundObjectTest, ThePrimaryBufferTakesAFormatAtPriorityLevel) {
    IDirectSound8* device = newDevice();
    DSBUFFERDESC desc {};
    desc.dwSize = 36;
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME;
    IDirectSoundBuffer* primary = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&desc, &primary, nullptr), DS_OK);
    WAVEFORMATEX format = pcmFormat(2, 44100, 16);
    EXPECT_EQ(primary->SetFormat(&format), DSERR_PRIOLEVELNEEDED);

    ASSERT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);
    ASSERT_EQ(primary->SetFormat(&format), DS_OK);
    WAVEFORMATEX read {};
    ASSERT_EQ(primary->GetFormat(&read, sizeof read, nullptr), DS_OK);
    EXPECT_EQ(read.nSamplesPerSec, 44100u);
    EXPECT_EQ(read.nChannels, 2);

    IDirectSoundBuffer* again = nullptr;
    ASSERT_EQ(device->CreateSoundBuffer(&desc, &again, nullptr), DS_OK);
    EXPECT_EQ(again, primary);
    again->Release();
    IDirectSoundBuffer8* primary8 = nullptr;
    EXPECT_EQ(primary->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&primary8)), E_NOINTERFACE);
    IDirectSoundBuffer* duplicate = nullptr;
    EXPECT_EQ(device->DuplicateSoundBuffer(primary, &duplicate), DSERR_INVALIDCALL);
    EXPECT_TRUE(velmora::audio::liveBuffers().empty());
    primary->Release();
}

TEST_F(SoundObjectTest, ReleasingADeviceDiscardsTheBuffersLeftBehind) {
    IDirectSound8* device = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
    IDirectSoundBuffer8* buffer = createBuffer(device, pcmFormat(1, 22050, 16), 4000, kGameBufferFlags);
    // A reference the owner never gives back, as a dragonfly's duplicated buffer.
    IDirectSound3DBuffer* leaked = threeDOf(buffer);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(velmora::audio::liveDevices(), 1u);

    device->Release();
    EXPECT_EQ(velmora::audio::liveDevices(), 0u);
    EXPECT_TRUE(velmora::audio::liveBuffers().empty());
    EXPECT_EQ(velmora::audio::voicesInUse(), 0u);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_UNINITIALIZED);
    EXPECT_EQ(leaked->SetPosition(0, 0, 0, DS3D_IMMEDIATE), DSERR_UNINITIALIZED);
    leaked->Release();
    buffer->Release();
}

TEST_F(SoundObjectTest, HundredsOfDevicesAndBuffersOnlyTakeVoicesWhilePlaying) {
    constexpr int kDevices = 300;
    std::vector<IDirectSound8*> many;
    std::vector<IDirectSoundBuffer8*> buffers;
    for (int i = 0; i < kDevices; ++i) {
        many.push_back(newDevice());
        for (int b = 0; b < 2; ++b) {
            buffers.push_back(createBuffer(many.back(), pcmFormat(1, 22050, 16), 2205 * 2, kGameBufferFlags));
        }
    }
    EXPECT_EQ(velmora::audio::liveBuffers().size(), buffers.size());
    EXPECT_EQ(velmora::audio::voicesInUse(), 0u);

    for (int i = 0; i < 10; ++i) buffers[i * 50]->Play(0, 0, 0);
    EXPECT_EQ(velmora::audio::voicesInUse(), 10u);
    for (int i = 0; i < 10; ++i) buffers[i * 50]->Stop();
    EXPECT_EQ(velmora::audio::voicesInUse(), 0u);

    // 256 may sound at once; one-shots that have ended give their voices back.
    for (int i = 0; i < 256; ++i) ASSERT_EQ(buffers[i]->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(buffers[256]->Play(0, 0, 0), DSERR_ALLOCATED);
    velmora::headless::advanceClock(150);
    EXPECT_EQ(buffers[256]->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(velmora::audio::voicesInUse(), 1u);

    for (IDirectSoundBuffer8* buffer : buffers) buffer->Release();
    EXPECT_TRUE(velmora::audio::liveBuffers().empty());
}

TEST_F(SoundObjectTest, OnlyTheDefaultDeviceExists) {
    IDirectSound8* device = reinterpret_cast<IDirectSound8*>(1);
    EXPECT_EQ(DirectSoundCreate8(&IID_IDirectSound8, &device, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
    ASSERT_EQ(DirectSoundCreate8(&DSDEVID_DefaultPlayback, &device, nullptr), DS_OK);
    device->Release();
}

TEST_F(SoundObjectTest, WithoutAnAudioDeviceNoDeviceObjectIsMade) {
    for (velmora::Backend backend : {velmora::Backend::Headless, velmora::Backend::Real}) {
        velmora::selectBackend(backend);
        velmora::audio::useNoAudioDevice();
        for (int attempt = 0; attempt < 2; ++attempt) {
            IDirectSound8* device = reinterpret_cast<IDirectSound8*>(1);
            EXPECT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DSERR_NODRIVER);
            EXPECT_EQ(device, nullptr);
        }
        EXPECT_EQ(velmora::audio::liveDevices(), 0u);
    }
}

TEST_F(SoundObjectTest, ALoadedBufferCarriesTheTagOfItsFile) {
    riff::ScratchFolder folder;
    std::string samples = tone16(500, 1, 0.5, 440.0, 22050);
    std::string path = folder.write("tone.wav", riff::wave(1, 22050, 16, samples));
    IDirectSoundBuffer8* buffer = createBuffer(newDevice(), pcmFormat(1, 22050, 16),
                                               static_cast<DWORD>(samples.size()), kGameBufferFlags);
    fill(buffer, samples);
    auto state = velmora::audio::stateOf(buffer);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->dataTag, velmora::audio::waveDataTag(path.c_str()));
    EXPECT_NE(state->dataTag, velmora::audio::waveDataTag(folder.write("other.wav", riff::wave(1, 22050, 16, "ab")).c_str()));
    EXPECT_EQ(velmora::audio::waveDataTag((folder.path() + "/missing.wav").c_str()), 0u);
    std::string truncated = riff::wave(1, 22050, 16, samples).substr(0, 100);
    EXPECT_EQ(velmora::audio::waveDataTag(folder.write("cut.wav", truncated).c_str()), 0u);
    buffer->Release();
}

}  // namespace
