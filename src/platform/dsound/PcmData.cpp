#include "PcmData.h"

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

namespace velmora::dsound {

namespace {

unsigned g_nextId = 1;

constexpr WORD kWaveFormatExtensible = 0xFFFE;
// What WAVE_FORMAT_EXTENSIBLE adds after the WAVEFORMATEX: valid bits per sample, the
// speaker mask and the sub-format GUID.
constexpr WORD kExtensibleBytes = 22;
// KSDATAFORMAT_SUBTYPE_PCM: 00000001-0000-0010-8000-00aa00389b71, as stored.
const unsigned char kPcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                         0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};

// The first refusal for each reason is logged, so that a sound a player dropped in and
// never hears can be traced.
HRESULT refuse(const char* reason) {
    static std::set<std::string> logged;
    if (logged.insert(reason).second) std::fprintf(stderr, "velmora: sound format refused: %s\n", reason);
    return DSERR_BADFORMAT;
}

// DS_OK when the extensible form says no more than plain PCM would.
HRESULT checkExtensible(const WAVEFORMATEX& format) {
    if (format.cbSize < kExtensibleBytes) return refuse("WAVE_FORMAT_EXTENSIBLE without its 22 extra bytes");
    const unsigned char* extra = reinterpret_cast<const unsigned char*>(&format) + sizeof(WAVEFORMATEX);
    if (std::memcmp(extra + 6, kPcmSubFormat, sizeof kPcmSubFormat) != 0)
        return refuse("WAVE_FORMAT_EXTENSIBLE with a sub-format other than PCM");
    const WORD validBits = static_cast<WORD>(extra[0] | extra[1] << 8);
    if (validBits != format.wBitsPerSample) return refuse("valid bits per sample differ from the container size");
    return DS_OK;
}

}  // namespace

PcmData::PcmData(const WAVEFORMATEX& format, DWORD size)
    : format_(format), bytes_(size, static_cast<BYTE>(format.wBitsPerSample == 8 ? 0x80 : 0)), id_(g_nextId++) {
    // An extensible format that passed the check is plain PCM in all but name.
    format_.wFormatTag = WAVE_FORMAT_PCM;
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
    if (format->wFormatTag == kWaveFormatExtensible) {
        HRESULT extensible = checkExtensible(*format);
        if (extensible != DS_OK) return extensible;
    } else if (format->wFormatTag != WAVE_FORMAT_PCM) {
        return refuse("not PCM");
    }
    if (format->nChannels != 1 && format->nChannels != 2) return refuse("more than two channels (or none)");
    if (format->wBitsPerSample != 8 && format->wBitsPerSample != 16) return refuse("samples other than 8 or 16 bits");
    if (format->nBlockAlign != format->nChannels * format->wBitsPerSample / 8) return refuse("wrong block alignment");
    if (format->nSamplesPerSec < DSBFREQUENCY_MIN || format->nSamplesPerSec > DSBFREQUENCY_MAX)
        return refuse("sample rate out of range");
    return DS_OK;
}

}  // namespace velmora::dsound
