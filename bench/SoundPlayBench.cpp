// Starting the game's longest sound (the play music) on the real OpenAL backend, mixed
// into OpenAL Soft's loopback device so that no sound card is needed: each iteration is a
// Play from the start and the Stop that gives its voice back.
#include <benchmark/benchmark.h>

#include <velmora/HeadlessAudio.h>
#include <velmora/Platform.h>

#include "SoundLoader.h"

namespace {

void BM_SoundPlay_LongestSound(benchmark::State& state) {
    velmora::selectBackend(velmora::Backend::Real);
    velmora::audio::useLoopbackDevice(44100);
    IDirectSound8* device = nullptr;
    IDirectSoundBuffer8* buffer = nullptr;
    IDirectSound3DBuffer* buffer3D = nullptr;
    if (DirectSoundCreate8(nullptr, &device, nullptr) == DS_OK)
        g_soundLoader.loadWave(&buffer, &buffer3D, "data/Sound/BGM/PlayBGM.wav", device);
    if (!buffer) {
        state.SkipWithError("no OpenAL loopback device or no game data");
    } else {
        for (auto _ : state) {
            buffer->Play(0, 0, 0);
            buffer->Stop();
            buffer->SetCurrentPosition(0);
        }
        buffer3D->Release();
        buffer->Release();
    }
    if (device) device->Release();
    velmora::audio::resetAudio();
}
BENCHMARK(BM_SoundPlay_LongestSound)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
