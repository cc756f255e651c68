// The sample memory of a secondary buffer, shared by the buffer and its duplicates, and
// the PCM formats buffers accept.
#pragma once

#include <dsound.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace velmora::dsound {

// What an audio output made from the bytes to play them (OpenAL buffers), kept with the
// bytes so that every play, and every duplicate, starts from it.
class OutputCopy {
public:
    virtual ~OutputCopy() = default;
};

class PcmData {
public:
    // Starts as silence in the given (checked) format.
    PcmData(const WAVEFORMATEX& format, DWORD size);

    const WAVEFORMATEX& format() const { return format_; }
    DWORD size() const { return static_cast<DWORD>(bytes_.size()); }
    DWORD frames() const { return size() / format_.nBlockAlign; }
    BYTE* bytes() { return bytes_.data(); }
    const BYTE* bytes() const { return bytes_.data(); }
    unsigned id() const { return id_; }

    // A hash of the bytes, recomputed after a write.
    uint64_t tag() const;
    // Changes with every write: an output copy made from an earlier revision is stale.
    unsigned revision() const { return revision_; }
    void written() {
        tagValid_ = false;
        ++revision_;
    }
    std::shared_ptr<OutputCopy>& outputCopy() const { return outputCopy_; }

private:
    WAVEFORMATEX format_;
    std::vector<BYTE> bytes_;
    unsigned id_;
    mutable uint64_t tag_ = 0;
    mutable bool tagValid_ = false;
    unsigned revision_ = 0;
    mutable std::shared_ptr<OutputCopy> outputCopy_;
};

uint64_t hashBytes(const void* bytes, std::size_t size);

// Which formats buffers accept: PCM, one or two channels, 8 or 16 bits, given either as
// WAVE_FORMAT_PCM or as the WAVE_FORMAT_EXTENSIBLE form of the same thing (what sound
// editors write). DS_OK, or the error CreateSoundBuffer / SetFormat report for the format.
HRESULT checkPcmFormat(const WAVEFORMATEX* format);

}  // namespace velmora::dsound
