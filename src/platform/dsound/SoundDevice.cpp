#include "SoundDevice.h"

#include <memory>

#include "PrimaryBuffer.h"
#include "SecondaryBuffer.h"
#include "ComObject.h"
#include "SoundSystem.h"

namespace velmora::dsound {

namespace {
// DSBUFFERDESC as 32-bit Windows lays it out, which is what the game states.
constexpr DWORD kWin32BufferDescSize = 36;
}  // namespace

SoundDevice::SoundDevice() { SoundSystem::instance().deviceCreated(); }

SoundDevice::~SoundDevice() {
    for (SecondaryBuffer* buffer : SoundSystem::instance().buffers()) {
        if (buffer->owner() == this) buffer->detach();
    }
    if (primary_) primary_->detach();
    SoundSystem::instance().deviceDestroyed();
}

HRESULT SoundDevice::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_POINTER;
    *ppvObject = nullptr;
    if (!sameGuid(riid, IID_IUnknown) && !sameGuid(riid, IID_IDirectSound8)) return E_NOINTERFACE;
    *ppvObject = static_cast<IDirectSound8*>(this);
    AddRef();
    return S_OK;
}

HRESULT SoundDevice::SetCooperativeLevel(HWND, DWORD dwLevel) {
    if (dwLevel < DSSCL_NORMAL || dwLevel > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
    level_ = dwLevel;
    return DS_OK;
}

HRESULT SoundDevice::CreateSoundBuffer(LPCDSBUFFERDESC pcDSBufferDesc, LPDIRECTSOUNDBUFFER* ppDSBuffer,
                                       LPUNKNOWN pUnkOuter) {
    if (!pcDSBufferDesc || !ppDSBuffer) return DSERR_INVALIDPARAM;
    *ppDSBuffer = nullptr;
    if (pUnkOuter) return DSERR_NOAGGREGATION;
    if (pcDSBufferDesc->dwSize != kWin32BufferDescSize && pcDSBufferDesc->dwSize != sizeof(DSBUFFERDESC)) {
        return DSERR_INVALIDPARAM;
    }
    if (pcDSBufferDesc->dwFlags & DSBCAPS_PRIMARYBUFFER) return createPrimary(*pcDSBufferDesc, ppDSBuffer);
    return createSecondary(*pcDSBufferDesc, ppDSBuffer);
}

HRESULT SoundDevice::createPrimary(const DSBUFFERDESC& desc, LPDIRECTSOUNDBUFFER* buffer) {
    if (desc.dwBufferBytes != 0 || desc.lpwfxFormat) return DSERR_INVALIDPARAM;
    if (desc.dwFlags & (DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLFX | DSBCAPS_CTRLPOSITIONNOTIFY)) {
        return DSERR_INVALIDPARAM;
    }
    // A device has one primary buffer; asking again hands out the same one.
    if (primary_) {
        primary_->AddRef();
    } else {
        primary_ = new PrimaryBuffer(*this, desc.dwFlags);
    }
    *buffer = primary_;
    return DS_OK;
}

HRESULT SoundDevice::createSecondary(const DSBUFFERDESC& desc, LPDIRECTSOUNDBUFFER* buffer) {
    HRESULT formatCheck = checkPcmFormat(desc.lpwfxFormat);
    if (FAILED(formatCheck)) return formatCheck;
    if (desc.dwBufferBytes < DSBSIZE_MIN || desc.dwBufferBytes > DSBSIZE_MAX) return DSERR_INVALIDPARAM;
    if (desc.dwFlags & DSBCAPS_CTRL3D) {
        // DirectSound 8 positions only one-channel sound, and 3D replaces panning.
        if (desc.lpwfxFormat->nChannels != 1 || (desc.dwFlags & DSBCAPS_CTRLPAN)) return DSERR_INVALIDPARAM;
    }
    // Effects (DSBCAPS_CTRLFX) and position notifications are not part of this layer.
    if (desc.dwFlags & (DSBCAPS_CTRLFX | DSBCAPS_CTRLPOSITIONNOTIFY)) return DSERR_UNSUPPORTED;

    auto data = std::make_shared<PcmData>(*desc.lpwfxFormat, desc.dwBufferBytes);
    *buffer = new SecondaryBuffer(*this, desc.dwFlags, std::move(data));
    return DS_OK;
}

HRESULT SoundDevice::DuplicateSoundBuffer(LPDIRECTSOUNDBUFFER pDSBufferOriginal,
                                          LPDIRECTSOUNDBUFFER* ppDSBufferDuplicate) {
    if (!pDSBufferOriginal || !ppDSBufferDuplicate) return DSERR_INVALIDPARAM;
    *ppDSBufferDuplicate = nullptr;
    auto* original = dynamic_cast<SecondaryBuffer*>(pDSBufferOriginal);
    if (!original || !original->isDuplicable()) return DSERR_INVALIDCALL;
    *ppDSBufferDuplicate = new SecondaryBuffer(*this, *original);
    return DS_OK;
}

HRESULT SoundDevice::GetCaps(LPDSCAPS pDSCaps) {
    if (!pDSCaps || pDSCaps->dwSize != sizeof(DSCAPS)) return DSERR_INVALIDPARAM;
    DWORD size = pDSCaps->dwSize;
    *pDSCaps = DSCAPS {};
    pDSCaps->dwSize = size;
    pDSCaps->dwFlags = DSCAPS_PRIMARYMONO | DSCAPS_PRIMARYSTEREO | DSCAPS_PRIMARY8BIT | DSCAPS_PRIMARY16BIT |
                       DSCAPS_CONTINUOUSRATE | DSCAPS_EMULDRIVER | DSCAPS_SECONDARYMONO |
                       DSCAPS_SECONDARYSTEREO | DSCAPS_SECONDARY8BIT | DSCAPS_SECONDARY16BIT;
    pDSCaps->dwMinSecondarySampleRate = DSBFREQUENCY_MIN;
    pDSCaps->dwMaxSecondarySampleRate = DSBFREQUENCY_MAX;
    pDSCaps->dwPrimaryBuffers = 1;
    return DS_OK;
}

}  // namespace velmora::dsound

HRESULT WINAPI DirectSoundCreate8(LPCGUID lpGUID, LPDIRECTSOUND8* ppDS8, LPUNKNOWN pUnkOuter) {
    if (!ppDS8) return DSERR_INVALIDPARAM;
    *ppDS8 = nullptr;
    if (pUnkOuter) return DSERR_NOAGGREGATION;
    bool defaultDevice = !lpGUID || velmora::sameGuid(*lpGUID, GUID_NULL) ||
                         velmora::sameGuid(*lpGUID, DSDEVID_DefaultPlayback) ||
                         velmora::sameGuid(*lpGUID, DSDEVID_DefaultVoicePlayback);
    if (!defaultDevice) return DSERR_NODRIVER;
    // No audio device: the game goes on without sound.
    if (!velmora::dsound::SoundSystem::instance().openOutput()) return DSERR_NODRIVER;
    *ppDS8 = new velmora::dsound::SoundDevice();
    return DS_OK;
}
