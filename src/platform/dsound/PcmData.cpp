#include "PcmData.h"

namespace velmora::dsound {

namespace {
unsigned g_nextId = 1;
}

PcmData::PcmData(const WAVEFORMATEX& format, DWORD size)
    : format_(format), bytes_(size, static_cast<BYTE>(format.wBitsPerSample == 8 ? 0x80 : 0)), id_(g_nextId++) {
    format_.cbSize = 0;
}

uint64_t PcmData::tag() const {
    if (!tagValid_) {
        tag_ = hashBytes(bytes_.data(), bytes_.size());
        tagValid_ = true;
    }
    return tag_;
}

uint64_t hashBytes(const void* bytes, std::size_t size) {
    // 64-bit FNV-1a.
    uint64_t hash = 0xCBF29CE484222325ull;
    const BYTE* byte = static_cast<const BYTE*>(bytes);
    for (std::size_t i = 0; i < size; ++i) {
        hash ^= byte[i];
        hash *= 0x100000001B3ull;
    }
    return hash;
}

HRESULT checkPcmFormat(const WAVEFORMATEX* format) {
    if (!format) return DSERR_INVALIDPARAM;
    if (format->wFormatTag != WAVE_FORMAT_PCM) return DSERR_BADFORMAT;
    if (format->nChannels != 1 && format->nChannels != 2) return DSERR_BADFORMAT;
    if (format->wBitsPerSample != 8 && format->wBitsPerSample != 16) return DSERR_BADFORMAT;
    if (format->nBlockAlign != format->nChannels * format->wBitsPerSample / 8) return DSERR_BADFORMAT;
    if (format->nSamplesPerSec < DSBFREQUENCY_MIN || format->nSamplesPerSec > DSBFREQUENCY_MAX) {
        return DSERR_BADFORMAT;
    }
    return DS_OK;
}

}  // namespace velmora::dsound
