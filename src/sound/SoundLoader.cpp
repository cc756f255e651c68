#include "SoundLoader.h"

#include "Application.h"
#include "WaveFile.h"

SoundLoader g_soundLoader;

SoundLoader::SoundLoader() : primaryBuffer(nullptr) {}

void SoundLoader::setUpPrimary(IDirectSound8* device) {
    if (!device) return;
    device->SetCooperativeLevel(Application::get().window, DSSCL_PRIORITY);

    DSBUFFERDESC description;
    ZeroMemory(&description, sizeof(description));
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME;
    description.dwBufferBytes = 0;
    description.lpwfxFormat = nullptr;
    description.guid3DAlgorithm = GUID_NULL;
    // Only the latest primary buffer is kept: let go of the previous one rather than leak it.
    if (primaryBuffer) primaryBuffer->Release();
    primaryBuffer = nullptr;
    device->CreateSoundBuffer(&description, &primaryBuffer, nullptr);
    if (!primaryBuffer) return;

    // CD quality output: 44.1 kHz, 16 bits, stereo.
    WAVEFORMATEX output;
    ZeroMemory(&output, sizeof(output));
    output.wFormatTag = WAVE_FORMAT_PCM;
    output.nChannels = 2;
    output.nSamplesPerSec = 44100;
    output.nAvgBytesPerSec = 176400;
    output.nBlockAlign = 4;
    output.wBitsPerSample = 16;
    output.cbSize = 0;
    primaryBuffer->SetFormat(&output);
}

void SoundLoader::loadWave(IDirectSoundBuffer8** buffer, IDirectSound3DBuffer** buffer3D, const char* fileName,
                           IDirectSound8* device) {
    if (!device) return;
    WaveFile wave;
    if (FAILED(wave.open(fileName))) return;

    DWORD dataBytes = wave.dataChunk.cksize;
    DSBUFFERDESC description;
    ZeroMemory(&description, sizeof(description));
    description.dwSize = sizeof(DSBUFFERDESC);
    description.dwFlags = DSBCAPS_CTRL3D | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS |
                          DSBCAPS_GETCURRENTPOSITION2;
    description.dwBufferBytes = dataBytes;
    description.lpwfxFormat = wave.format;
    description.guid3DAlgorithm = DS3DALG_NO_VIRTUALIZATION;

    IDirectSoundBuffer* created = nullptr;
    if (FAILED(device->CreateSoundBuffer(&description, &created, nullptr)) || !created) return;
    created->QueryInterface(IID_IDirectSoundBuffer8, reinterpret_cast<void**>(buffer));
    created->Release();
    if (!*buffer) return;

    void* firstRegion = nullptr;
    DWORD firstBytes = 0;
    void* secondRegion = nullptr;
    DWORD secondBytes = 0;
    HRESULT locked = (*buffer)->Lock(0, dataBytes, &firstRegion, &firstBytes, &secondRegion, &secondBytes, 0);
    if (locked == DSERR_BUFFERLOST) {
        (*buffer)->Restore();
        locked = (*buffer)->Lock(0, dataBytes, &firstRegion, &firstBytes, &secondRegion, &secondBytes, 0);
    }
    if (SUCCEEDED(locked)) {
        DWORD bytesRead = 0;
        wave.read(firstBytes, static_cast<BYTE*>(firstRegion), &bytesRead);
        if (secondBytes != 0) wave.read(secondBytes, static_cast<BYTE*>(secondRegion), &bytesRead);
        (*buffer)->Unlock(firstRegion, firstBytes, secondRegion, secondBytes);
    }

    (*buffer)->QueryInterface(IID_IDirectSound3DBuffer, reinterpret_cast<void**>(buffer3D));
    wave.close();
}
