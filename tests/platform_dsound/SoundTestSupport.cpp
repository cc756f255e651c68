#include "SoundTestSupport.h"

#include <cmath>
#include <cstring>

#include "velmora/HeadlessAudio.h"
#include "velmora/HeadlessInput.h"
#include "velmora/Platform.h"

namespace soundtest {

WAVEFORMATEX pcmFormat(WORD channels, DWORD samplesPerSecond, WORD bitsPerSample) {
    WAVEFORMATEX format {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = channels;
    format.nSamplesPerSec = samplesPerSecond;
    format.wBitsPerSample = bitsPerSample;
    format.nBlockAlign = static_cast<WORD>(channels * bitsPerSample / 8);
    format.nAvgBytesPerSec = samplesPerSecond * format.nBlockAlign;
    return format;
}

IDirectSoundBuffer8* createBuffer(IDirectSound8* device, const WAVEFORMATEX& format, DWORD bytes, DWORD flags,
                                  HRESULT* result) {
    WAVEFORMATEX copy = format;
    DSBUFFERDESC desc {};
    desc.dwSize = 36;
    desc.dwFlags = flags;
    desc.dwBufferBytes = bytes;
    desc.lpwfxFormat = &copy;
    desc.guid3DAlgorithm = DS3DALG_NO_VIRTUALIZATION;
    IDirectSoundBuffer* buffer = nullptr;
    HRESULT created = device->CreateSoundBuffer(&desc, &buffer, nullptr);
    if (result) *result = created;
    if (FAILED(created)) return nullptr;
    IDirectSoundBuffer8* buffer8 = nullptr;
    buffer->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(&buffer8));
    buffer->Release();
    return buffer8;
}

void fill(IDirectSoundBuffer* buffer, const std::string& bytes) {
    void* first = nullptr;
    void* second = nullptr;
    DWORD firstBytes = 0;
    DWORD secondBytes = 0;
    ASSERT_EQ(buffer->Lock(0, static_cast<DWORD>(bytes.size()), &first, &firstBytes, &second, &secondBytes, 0), DS_OK);
    ASSERT_EQ(firstBytes, bytes.size());
    std::memcpy(first, bytes.data(), firstBytes);
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), DS_OK);
}

std::string tone16(DWORD frames, WORD channels, double amplitude, double hz, DWORD samplesPerSecond) {
    std::string bytes;
    for (DWORD i = 0; i < frames; ++i) {
        double value = amplitude * std::sin(2.0 * M_PI * hz * i / samplesPerSecond);
        auto sample = static_cast<int16_t>(std::lround(value * 32767.0));
        for (WORD c = 0; c < channels; ++c) {
            bytes.push_back(static_cast<char>(sample & 0xFF));
            bytes.push_back(static_cast<char>((sample >> 8) & 0xFF));
        }
    }
    return bytes;
}

DWORD statusOf(IDirectSoundBuffer* buffer) {
    DWORD status = 0xFFFFFFFF;
    EXPECT_EQ(buffer->GetStatus(&status), DS_OK);
    return status;
}

DWORD cursorOf(IDirectSoundBuffer* buffer) {
    DWORD play = 0xFFFFFFFF;
    EXPECT_EQ(buffer->GetCurrentPosition(&play, nullptr), DS_OK);
    return play;
}

IDirectSound3DBuffer* threeDOf(IDirectSoundBuffer* buffer) {
    IDirectSound3DBuffer* threeD = nullptr;
    EXPECT_EQ(buffer->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(&threeD)), S_OK);
    return threeD;
}

void HeadlessSoundTest::SetUp() {
    velmora::selectBackend(velmora::Backend::Headless);
    velmora::headless::resetWin32();
    velmora::audio::resetAudio();
}

void HeadlessSoundTest::TearDown() {
    for (IDirectSound8* device : devices) device->Release();
    velmora::audio::resetAudio();
    velmora::selectBackend(velmora::Backend::Real);
}

IDirectSound8* HeadlessSoundTest::newDevice() {
    IDirectSound8* device = nullptr;
    EXPECT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
    if (device) devices.push_back(device);
    return device;
}

}  // namespace soundtest
