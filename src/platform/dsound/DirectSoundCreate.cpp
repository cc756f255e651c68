#include <dsound.h>

#include "ComObject.h"
#include "SoundDevice.h"
#include "SoundSystem.h"

using velmora::dsound::SoundDevice;
using velmora::dsound::SoundSystem;

HRESULT WINAPI DirectSoundCreate8(LPCGUID lpGUID, LPDIRECTSOUND8* ppDS8, LPUNKNOWN pUnkOuter) {
    if (!ppDS8) return DSERR_INVALIDPARAM;
    *ppDS8 = nullptr;
    if (pUnkOuter) return DSERR_NOAGGREGATION;
    bool defaultDevice = !lpGUID || velmora::sameGuid(*lpGUID, GUID_NULL) ||
                         velmora::sameGuid(*lpGUID, DSDEVID_DefaultPlayback) ||
                         velmora::sameGuid(*lpGUID, DSDEVID_DefaultVoicePlayback);
    if (!defaultDevice) return DSERR_NODRIVER;
    // No audio device: the game goes on without sound.
    if (!SoundSystem::instance().openOutput()) return DSERR_NODRIVER;
    *ppDS8 = new SoundDevice();
    return DS_OK;
}
