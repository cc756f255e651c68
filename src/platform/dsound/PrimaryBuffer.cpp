#include "PrimaryBuffer.h"

#include <cmath>
#include <cstring>

#include "SoundDevice.h"
#include "SoundSystem.h"

namespace velmora::dsound {

namespace {
// DirectSound's primary format until a SetFormat: 22.05 kHz, 8 bits, stereo.
WAVEFORMATEX defaultFormat() {
    WAVEFORMATEX format {};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 22050;
    format.wBitsPerSample = 8;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = 44100;
    return format;
}
}  // namespace

PrimaryBuffer::PrimaryBuffer(SoundDevice& owner, DWORD flags)
    : owner_(&owner), flags_(flags), format_(defaultFormat()) {}

PrimaryBuffer::~PrimaryBuffer() {
    if (owner_) owner_->primaryReleased();
}

HRESULT PrimaryBuffer::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_POINTER;
    *ppvObject = nullptr;
    if (!sameGuid(riid, IID_IUnknown) && !sameGuid(riid, IID_IDirectSoundBuffer)) return E_NOINTERFACE;
    *ppvObject = static_cast<IDirectSoundBuffer*>(this);
    AddRef();
    return S_OK;
}

HRESULT PrimaryBuffer::SetFormat(LPCWAVEFORMATEX pcfxFormat) {
    if (!owner_) return DSERR_UNINITIALIZED;
    if (owner_->cooperativeLevel() < DSSCL_PRIORITY) return DSERR_PRIOLEVELNEEDED;
    HRESULT check = checkPcmFormat(pcfxFormat);
    if (FAILED(check)) return check;
    // OpenAL mixes at the output's own rate; the format is kept for GetFormat.
    format_ = *pcfxFormat;
    format_.cbSize = 0;
    format_.nAvgBytesPerSec = format_.nSamplesPerSec * format_.nBlockAlign;
    return DS_OK;
}

HRESULT PrimaryBuffer::GetFormat(LPWAVEFORMATEX pwfxFormat, DWORD dwSizeAllocated, LPDWORD pdwSizeWritten) {
    if (!pwfxFormat && !pdwSizeWritten) return DSERR_INVALIDPARAM;
    if (pwfxFormat) {
        if (dwSizeAllocated < sizeof(WAVEFORMATEX)) return DSERR_INVALIDPARAM;
        std::memcpy(pwfxFormat, &format_, sizeof(WAVEFORMATEX));
    }
    if (pdwSizeWritten) *pdwSizeWritten = sizeof(WAVEFORMATEX);
    return DS_OK;
}

HRESULT PrimaryBuffer::SetVolume(LONG lVolume) {
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (lVolume < DSBVOLUME_MIN || lVolume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    volume_ = lVolume;
    SoundSystem::instance().setListenerGain(static_cast<float>(std::pow(10.0, lVolume / 2000.0)));
    return DS_OK;
}

HRESULT PrimaryBuffer::GetVolume(LPLONG plVolume) {
    if (!plVolume) return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    *plVolume = volume_;
    return DS_OK;
}

HRESULT PrimaryBuffer::GetFrequency(LPDWORD pdwFrequency) {
    if (!pdwFrequency) return DSERR_INVALIDPARAM;
    *pdwFrequency = format_.nSamplesPerSec;
    return DS_OK;
}

HRESULT PrimaryBuffer::SetFrequency(DWORD) { return DSERR_CONTROLUNAVAIL; }

// The output always runs; Play and Stop only change what GetStatus reports.
HRESULT PrimaryBuffer::Play(DWORD, DWORD, DWORD dwFlags) {
    if (!(dwFlags & DSBPLAY_LOOPING)) return DSERR_INVALIDPARAM;
    playing_ = true;
    return DS_OK;
}

HRESULT PrimaryBuffer::Stop() {
    playing_ = false;
    return DS_OK;
}

HRESULT PrimaryBuffer::GetStatus(LPDWORD pdwStatus) {
    if (!pdwStatus) return DSERR_INVALIDPARAM;
    *pdwStatus = playing_ ? DSBSTATUS_PLAYING | DSBSTATUS_LOOPING : 0;
    return DS_OK;
}

HRESULT PrimaryBuffer::GetCurrentPosition(LPDWORD pdwCurrentPlayCursor, LPDWORD pdwCurrentWriteCursor) {
    if (pdwCurrentPlayCursor) *pdwCurrentPlayCursor = 0;
    if (pdwCurrentWriteCursor) *pdwCurrentWriteCursor = 0;
    return DS_OK;
}

HRESULT PrimaryBuffer::SetCurrentPosition(DWORD) { return DSERR_INVALIDCALL; }

// Writing to the primary buffer (DSSCL_WRITEPRIMARY mixing) is not part of this layer.
HRESULT PrimaryBuffer::Lock(DWORD, DWORD, LPVOID*, LPDWORD, LPVOID*, LPDWORD, DWORD) {
    if (owner_ && owner_->cooperativeLevel() < DSSCL_WRITEPRIMARY) return DSERR_PRIOLEVELNEEDED;
    return DSERR_UNSUPPORTED;
}

HRESULT PrimaryBuffer::Unlock(LPVOID, DWORD, LPVOID, DWORD) { return DSERR_INVALIDCALL; }

HRESULT PrimaryBuffer::Restore() { return DS_OK; }

HRESULT PrimaryBuffer::GetCaps(LPDSBCAPS pDSBufferCaps) {
    if (!pDSBufferCaps || pDSBufferCaps->dwSize != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
    pDSBufferCaps->dwFlags = flags_ | DSBCAPS_LOCSOFTWARE;
    // There is no mixing buffer to report: the nominal size is one second of the format.
    pDSBufferCaps->dwBufferBytes = format_.nAvgBytesPerSec;
    pDSBufferCaps->dwUnlockTransferRate = 0;
    pDSBufferCaps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

}  // namespace velmora::dsound
