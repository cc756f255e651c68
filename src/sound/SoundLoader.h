// Sets up a DirectSound device's primary buffer and loads WAV files into secondary
// buffers with 3D control. Every sound owner has its own device; this object only
// keeps the primary buffer of the latest one.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

// One loaded sound: the playable buffer and its 3D interface, both null until loaded.
struct SoundBuffer {
    IDirectSoundBuffer8* buffer;
    IDirectSound3DBuffer* buffer3D;
};

class SoundLoader {
public:
    SoundLoader();

    void setUpPrimary(IDirectSound8* device);
    // Leaves both outputs null when the file cannot be read or the buffer cannot be made.
    void loadWave(IDirectSoundBuffer8** buffer, IDirectSound3DBuffer** buffer3D, const char* fileName,
                  IDirectSound8* device);

    IDirectSoundBuffer* primaryBuffer;
};

extern SoundLoader g_soundLoader;
