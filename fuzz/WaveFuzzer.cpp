// WAV files, as the game reads them: winmm's mmio calls on their own (chunk walks, reads
// through the I/O buffer), then the game's WaveFile and SoundLoader::loadWave into a
// headless DirectSound device, and playing whatever buffer came out.
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstdint>
#include <cstdlib>

#include "FuzzInputFile.h"
#include "SoundLoader.h"
#include "WaveFile.h"
#include "velmora/Platform.h"

namespace {

IDirectSound8* g_device = nullptr;

// Every chunk of the RIFF body entered, partly read and left again, the way a reader
// looking for one chunk would pass them; then the whole file through the I/O buffer.
void walkChunks(const char* path) {
    HMMIO file = mmioOpenA(const_cast<LPSTR>(path), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!file) return;
    MMCKINFO riff{};
    if (mmioDescend(file, &riff, nullptr, 0) == MMSYSERR_NOERROR) {
        MMCKINFO chunk{};
        char bytes[40];
        for (int i = 0; i < 64 && mmioDescend(file, &chunk, &riff, 0) == MMSYSERR_NOERROR; ++i) {
            if (chunk.ckid == FOURCC_LIST) {
                MMCKINFO inner{};
                if (mmioDescend(file, &inner, &chunk, 0) == MMSYSERR_NOERROR) mmioAscend(file, &inner, 0);
            }
            mmioRead(file, bytes, sizeof bytes);
            if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR) break;
        }
        MMCKINFO list{};
        list.fccType = mmioFOURCC('I', 'N', 'F', 'O');
        if (mmioSeek(file, 12, SEEK_SET) == 12) mmioDescend(file, &list, &riff, MMIO_FINDLIST);
    }

    if (mmioSeek(file, 0, SEEK_SET) == 0) {
        MMIOINFO info{};
        if (mmioGetInfo(file, &info, 0) == MMSYSERR_NOERROR) {
            unsigned sum = 0;
            for (int i = 0; i < 1 << 16; ++i) {
                if (info.pchNext == info.pchEndRead) {
                    if (mmioAdvance(file, &info, MMIO_READ) != MMSYSERR_NOERROR || info.pchNext == info.pchEndRead)
                        break;
                }
                sum += static_cast<unsigned char>(*info.pchNext++);
            }
            if (mmioSetInfo(file, &info, 0) != MMSYSERR_NOERROR) std::abort();
            if (sum == 0xFFFFFFFFu) std::abort();  // keeps the reads from being optimised away
        }
    }
    mmioClose(file, 0);
}

void readWave(const char* path) {
    WaveFile wave;
    if (FAILED(wave.open(path))) return;
    BYTE chunk[1000];
    DWORD got = 0;
    const DWORD size = wave.dataChunk.cksize;
    DWORD total = 0;
    while (SUCCEEDED(wave.read(sizeof chunk, chunk, &got)) && got > 0) total += got;
    if (total > size) std::abort();  // never more than the data chunk holds
}

// loadWave makes its buffer as large as the data chunk claims to be (up to DirectSound's
// 256 MB), however few bytes follow; filling such a buffer is what WaveFile's short reads
// above already go through, so files claiming far more than they hold stop there.
bool claimsWhatItHolds(const char* path, size_t size) {
    WaveFile wave;
    return SUCCEEDED(wave.open(path)) && wave.dataChunk.cksize <= 2 * size;
}

void loadAndPlay(const char* path) {
    SoundBuffer sound{nullptr, nullptr};
    g_soundLoader.loadWave(&sound.buffer, &sound.buffer3D, path, g_device);
    if (sound.buffer) {
        sound.buffer->Play(0, 0, 0);
        DWORD status = 0;
        sound.buffer->GetStatus(&status);
        sound.buffer->Stop();
        sound.buffer->Release();
    }
    if (sound.buffer3D) sound.buffer3D->Release();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    velmora::selectBackend(velmora::Backend::Headless);
    if (FAILED(DirectSoundCreate8(nullptr, &g_device, nullptr)) || !g_device) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile input("input.wav");
    const char* path = input.write(data, size);
    walkChunks(path);
    readWave(path);
    if (claimsWhatItHolds(path, size)) loadAndPlay(path);
    return 0;
}
