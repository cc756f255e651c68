// Shared pieces of the DirectSound tests: fixtures for each backend and small helpers
// that make and fill buffers the way the game's loader does.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace soundtest {

WAVEFORMATEX pcmFormat(WORD channels, DWORD samplesPerSecond, WORD bitsPerSample);

// The flags the game's loader uses for every sound.
constexpr DWORD kGameBufferFlags = DSBCAPS_CTRL3D | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME |
                                   DSBCAPS_GLOBALFOCUS | DSBCAPS_GETCURRENTPOSITION2;

// CreateSoundBuffer with a DSBUFFERDESC of dwSize 36; the result code in `result`.
IDirectSoundBuffer8* createBuffer(IDirectSound8* device, const WAVEFORMATEX& format, DWORD bytes, DWORD flags,
                                  HRESULT* result = nullptr);
// Copies `bytes` into the buffer from offset 0 through Lock / Unlock.
void fill(IDirectSoundBuffer* buffer, const std::string& bytes);
// A sine tone of 16-bit samples, `channels` equal channels, peak `amplitude` (0..1).
std::string tone16(DWORD frames, WORD channels, double amplitude, double hz, DWORD samplesPerSecond);

DWORD statusOf(IDirectSoundBuffer* buffer);
DWORD cursorOf(IDirectSoundBuffer* buffer);
IDirectSound3DBuffer* threeDOf(IDirectSoundBuffer* buffer);

// Headless backend: virtual clock at 0, no sound objects.
class HeadlessSoundTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    IDirectSound8* newDevice();

    std::vector<IDirectSound8*> devices;
};

}  // namespace soundtest
