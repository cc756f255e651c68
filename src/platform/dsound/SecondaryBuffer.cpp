#include "SecondaryBuffer.h"

#include <cmath>
#include <cstdint>
#include <cstring>

#include "SoundSystem.h"

namespace velmora::dsound {

namespace {

// How far ahead of the play cursor the write cursor runs while playing.
constexpr DWORD kWriteLeadMs = 10;

bool isFinite(float x, float y, float z) { return std::isfinite(x) && std::isfinite(y) && std::isfinite(z); }

}  // namespace

SecondaryBuffer::SecondaryBuffer(SoundDevice& owner, DWORD flags, std::shared_ptr<PcmData> data)
    : owner_(&owner), flags_(flags), data_(std::move(data)) {
    registerLive();
}

SecondaryBuffer::SecondaryBuffer(SoundDevice& owner, const SecondaryBuffer& original)
    : owner_(&owner),
      flags_(original.flags_),
      data_(original.data_),
      volume_(original.volume_),
      frequency_(original.frequency_),
      mode3D_(original.mode3D_),
      position_{original.position_[0], original.position_[1], original.position_[2]} {
    registerLive();
}

SecondaryBuffer::~SecondaryBuffer() { detach(); }

void SecondaryBuffer::registerLive() { id_ = SoundSystem::instance().addBuffer(this); }

void SecondaryBuffer::detach() {
    if (!owner_) return;
    voice_.reset();
    data_.reset();
    owner_ = nullptr;
    SoundSystem::instance().removeBuffer(id_);
}

HRESULT SecondaryBuffer::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_POINTER;
    *ppvObject = nullptr;
    if (sameGuid(riid, IID_IUnknown) || sameGuid(riid, IID_IDirectSoundBuffer) ||
        sameGuid(riid, IID_IDirectSoundBuffer8)) {
        *ppvObject = static_cast<IDirectSoundBuffer8*>(this);
    } else if (sameGuid(riid, IID_IDirectSound3DBuffer) && (flags_ & DSBCAPS_CTRL3D)) {
        *ppvObject = static_cast<IDirectSound3DBuffer*>(&threeD_);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// --- Play state ------------------------------------------------------------------------

void SecondaryBuffer::refresh() {
    if (voice_ && voice_->ended()) {
        voice_.reset();
        cursor_ = 0;
    }
}

DWORD SecondaryBuffer::currentCursor() {
    refresh();
    return voice_ ? voice_->cursor() : cursor_;
}

HRESULT SecondaryBuffer::Play(DWORD, DWORD dwPriority, DWORD dwFlags) {
    if (!data_) return DSERR_UNINITIALIZED;
    if (dwPriority != 0 && !(flags_ & DSBCAPS_LOCDEFER)) return DSERR_INVALIDPARAM;
    SoundSystem::instance().countPlayCall();
    ++playCalls_;
    refresh();
    looping_ = (dwFlags & DSBPLAY_LOOPING) != 0;
    if (voice_) {
        // Already playing: it plays on from where it is; only the looping flag changes.
        voice_->setLooping(looping_);
        return DS_OK;
    }
    voice_ = SoundSystem::instance().startVoice(data_, cursor_, looping_, voiceParams());
    return voice_ ? DS_OK : DSERR_ALLOCATED;
}

HRESULT SecondaryBuffer::Stop() {
    if (!data_) return DSERR_UNINITIALIZED;
    refresh();
    if (voice_) {
        cursor_ = voice_->cursor();
        voice_.reset();
    }
    return DS_OK;
}

HRESULT SecondaryBuffer::SetCurrentPosition(DWORD dwNewPosition) {
    if (!data_) return DSERR_UNINITIALIZED;
    if (dwNewPosition >= data_->size()) return DSERR_INVALIDPARAM;
    DWORD position = dwNewPosition - dwNewPosition % data_->format().nBlockAlign;
    refresh();
    if (voice_) {
        voice_->seek(position);
    } else {
        cursor_ = position;
    }
    return DS_OK;
}

HRESULT SecondaryBuffer::GetCurrentPosition(LPDWORD pdwCurrentPlayCursor, LPDWORD pdwCurrentWriteCursor) {
    if (!data_) return DSERR_UNINITIALIZED;
    DWORD play = currentCursor();
    DWORD write = play;
    if (voice_) {
        const WAVEFORMATEX& format = data_->format();
        DWORD lead = frequency() * kWriteLeadMs / 1000 * format.nBlockAlign;
        write = static_cast<DWORD>((static_cast<unsigned long long>(play) + lead) % data_->size());
    }
    if (pdwCurrentPlayCursor) *pdwCurrentPlayCursor = play;
    if (pdwCurrentWriteCursor) *pdwCurrentWriteCursor = write;
    return DS_OK;
}

HRESULT SecondaryBuffer::GetStatus(LPDWORD pdwStatus) {
    if (!pdwStatus) return DSERR_INVALIDPARAM;
    refresh();
    *pdwStatus = 0;
    if (voice_) *pdwStatus = DSBSTATUS_PLAYING | (looping_ ? DSBSTATUS_LOOPING : 0);
    return DS_OK;
}

// --- Volume, frequency and 3D ------------------------------------------------------------

DWORD SecondaryBuffer::frequency() const {
    return frequency_ != DSBFREQUENCY_ORIGINAL ? frequency_ : data_->format().nSamplesPerSec;
}

VoiceParams SecondaryBuffer::voiceParams() const {
    VoiceParams params {};
    params.gain = static_cast<float>(std::pow(10.0, volume_ / 2000.0));
    params.pitch = static_cast<float>(frequency()) / static_cast<float>(data_->format().nSamplesPerSec);
    // The listener stays at the origin, so a buffer there is centred as well.
    bool atListener = position_[0] == 0.0f && position_[1] == 0.0f && position_[2] == 0.0f;
    params.positioned = (flags_ & DSBCAPS_CTRL3D) && mode3D_ != DS3DMODE_DISABLE && !atListener;
    // Left-handed to OpenAL's right-handed coordinates.
    params.x = position_[0];
    params.y = position_[1];
    params.z = -position_[2];
    return params;
}

void SecondaryBuffer::applyToVoice() {
    refresh();
    if (voice_) voice_->apply(voiceParams());
}

HRESULT SecondaryBuffer::SetVolume(LONG lVolume) {
    if (!data_) return DSERR_UNINITIALIZED;
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    if (lVolume < DSBVOLUME_MIN || lVolume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
    volume_ = lVolume;
    applyToVoice();
    return DS_OK;
}

HRESULT SecondaryBuffer::GetVolume(LPLONG plVolume) {
    if (!plVolume) return DSERR_INVALIDPARAM;
    if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
    *plVolume = volume_;
    return DS_OK;
}

HRESULT SecondaryBuffer::SetFrequency(DWORD dwFrequency) {
    if (!data_) return DSERR_UNINITIALIZED;
    if (!(flags_ & DSBCAPS_CTRLFREQUENCY)) return DSERR_CONTROLUNAVAIL;
    if (dwFrequency != DSBFREQUENCY_ORIGINAL && (dwFrequency < DSBFREQUENCY_MIN || dwFrequency > DSBFREQUENCY_MAX)) {
        return DSERR_INVALIDPARAM;
    }
    frequency_ = dwFrequency;
    applyToVoice();
    return DS_OK;
}

HRESULT SecondaryBuffer::GetFrequency(LPDWORD pdwFrequency) {
    if (!pdwFrequency) return DSERR_INVALIDPARAM;
    if (!data_) return DSERR_UNINITIALIZED;
    *pdwFrequency = frequency();
    return DS_OK;
}

HRESULT SecondaryBuffer::get3DMode(LPDWORD mode) {
    if (!mode) return DSERR_INVALIDPARAM;
    *mode = mode3D_;
    return DS_OK;
}

// This layer has no listener interface to commit deferred settings with, so
// DS3D_DEFERRED settings take effect at once.
HRESULT SecondaryBuffer::set3DMode(DWORD mode, DWORD apply) {
    if (!data_) return DSERR_UNINITIALIZED;
    if (mode > DS3DMODE_DISABLE || apply > DS3D_DEFERRED) return DSERR_INVALIDPARAM;
    mode3D_ = mode;
    applyToVoice();
    return DS_OK;
}

HRESULT SecondaryBuffer::set3DPosition(float x, float y, float z, DWORD apply) {
    if (!data_) return DSERR_UNINITIALIZED;
    if (!isFinite(x, y, z) || apply > DS3D_DEFERRED) return DSERR_INVALIDPARAM;
    position_[0] = x;
    position_[1] = y;
    position_[2] = z;
    applyToVoice();
    return DS_OK;
}

// --- Data ------------------------------------------------------------------------------

bool SecondaryBuffer::inData(const void* pointer, DWORD bytes) const {
    auto start = reinterpret_cast<std::uintptr_t>(data_->bytes());
    auto at = reinterpret_cast<std::uintptr_t>(pointer);
    return at >= start && at - start <= data_->size() && bytes <= data_->size() - (at - start);
}

HRESULT SecondaryBuffer::Lock(DWORD dwOffset, DWORD dwBytes, LPVOID* ppvAudioPtr1, LPDWORD pdwAudioBytes1,
                              LPVOID* ppvAudioPtr2, LPDWORD pdwAudioBytes2, DWORD dwFlags) {
    if (!ppvAudioPtr1 || !pdwAudioBytes1) return DSERR_INVALIDPARAM;
    if (!data_) return DSERR_UNINITIALIZED;
    DWORD size = data_->size();
    if (dwFlags & DSBLOCK_FROMWRITECURSOR) GetCurrentPosition(nullptr, &dwOffset);
    if (dwFlags & DSBLOCK_ENTIREBUFFER) dwBytes = size;
    if (dwOffset >= size || dwBytes == 0 || dwBytes > size) return DSERR_INVALIDPARAM;

    // A region that runs past the end continues at the start of the buffer.
    DWORD first = dwBytes < size - dwOffset ? dwBytes : size - dwOffset;
    DWORD second = dwBytes - first;
    *ppvAudioPtr1 = data_->bytes() + dwOffset;
    *pdwAudioBytes1 = first;
    if (ppvAudioPtr2) *ppvAudioPtr2 = second ? data_->bytes() : nullptr;
    if (pdwAudioBytes2) *pdwAudioBytes2 = ppvAudioPtr2 ? second : 0;
    return DS_OK;
}

HRESULT SecondaryBuffer::Unlock(LPVOID pvAudioPtr1, DWORD dwAudioBytes1, LPVOID pvAudioPtr2, DWORD dwAudioBytes2) {
    if (!data_) return DSERR_UNINITIALIZED;
    if (!pvAudioPtr1 || !inData(pvAudioPtr1, dwAudioBytes1)) return DSERR_INVALIDPARAM;
    if (pvAudioPtr2 && !inData(pvAudioPtr2, dwAudioBytes2)) return DSERR_INVALIDPARAM;
    // A playing voice keeps the copy it started with; the next Play hears the new data.
    data_->written();
    return DS_OK;
}

HRESULT SecondaryBuffer::Restore() { return DS_OK; }

HRESULT SecondaryBuffer::SetFormat(LPCWAVEFORMATEX) { return DSERR_INVALIDCALL; }

HRESULT SecondaryBuffer::GetFormat(LPWAVEFORMATEX pwfxFormat, DWORD dwSizeAllocated, LPDWORD pdwSizeWritten) {
    if (!pwfxFormat && !pdwSizeWritten) return DSERR_INVALIDPARAM;
    if (!data_) return DSERR_UNINITIALIZED;
    if (pwfxFormat) {
        if (dwSizeAllocated < sizeof(WAVEFORMATEX)) return DSERR_INVALIDPARAM;
        std::memcpy(pwfxFormat, &data_->format(), sizeof(WAVEFORMATEX));
    }
    if (pdwSizeWritten) *pdwSizeWritten = sizeof(WAVEFORMATEX);
    return DS_OK;
}

HRESULT SecondaryBuffer::GetCaps(LPDSBCAPS pDSBufferCaps) {
    if (!pDSBufferCaps || pDSBufferCaps->dwSize != sizeof(DSBCAPS)) return DSERR_INVALIDPARAM;
    if (!data_) return DSERR_UNINITIALIZED;
    pDSBufferCaps->dwFlags = flags_ | DSBCAPS_LOCSOFTWARE;
    pDSBufferCaps->dwBufferBytes = data_->size();
    pDSBufferCaps->dwUnlockTransferRate = 0;
    pDSBufferCaps->dwPlayCpuOverhead = 0;
    return DS_OK;
}

// --- Test control ----------------------------------------------------------------------

audio::BufferState SecondaryBuffer::state() {
    audio::BufferState state {};
    state.id = id_;
    state.buffer = this;
    state.cursor = currentCursor();
    state.playing = voice_ != nullptr;
    state.looping = state.playing && looping_;
    state.dataSize = data_->size();
    state.dataId = data_->id();
    state.dataTag = data_->tag();
    state.channels = data_->format().nChannels;
    state.bitsPerSample = data_->format().wBitsPerSample;
    state.sampleRate = data_->format().nSamplesPerSec;
    state.frequency = frequency();
    state.volume = volume_;
    state.control3D = (flags_ & DSBCAPS_CTRL3D) != 0;
    state.mode3D = mode3D_;
    for (int axis = 0; axis < 3; ++axis) state.position[axis] = position_[axis];
    state.playCalls = playCalls_;
    return state;
}

bool SecondaryBuffer::exposes(const IUnknown* object) const {
    return object == static_cast<const IDirectSoundBuffer8*>(this) ||
           object == static_cast<const IDirectSound3DBuffer*>(&threeD_);
}

}  // namespace velmora::dsound
