#include "MmioFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace velmora::mmio {

MmioFile::MmioFile(FileBytes bytes, LONG bufferSize) : bytes_(std::move(bytes)) {
    if (bufferSize > 0) buffer_.resize(static_cast<std::size_t>(bufferSize));
    info_.dwFlags = buffered() ? MMIO_ALLOCBUF : 0;
    info_.cchBuffer = bufferSize;
    info_.pchBuffer = buffered() ? buffer_.data() : nullptr;
    info_.pchNext = info_.pchEndRead = info_.pchBuffer;
    info_.pchEndWrite = buffered() ? buffer_.data() + buffer_.size() : nullptr;
}

LONG MmioFile::bufferedBytes() const { return static_cast<LONG>(info_.pchEndRead - info_.pchBuffer); }

LONG MmioFile::position() const {
    if (!buffered()) return unbufferedPosition_;
    return info_.lBufOffset + static_cast<LONG>(info_.pchNext - info_.pchBuffer);
}

void MmioFile::fillAt(LONG offset) {
    LONG available = std::max<LONG>(0, size() - offset);
    LONG count = std::min<LONG>(available, info_.cchBuffer);
    if (count > 0) std::memcpy(buffer_.data(), bytes_->data() + offset, static_cast<std::size_t>(count));
    info_.lBufOffset = offset;
    info_.lDiskOffset = offset + count;
    info_.pchNext = info_.pchBuffer;
    info_.pchEndRead = info_.pchBuffer + count;
}

LONG MmioFile::read(char* destination, LONG count) {
    if (!buffered()) {
        LONG available = std::max<LONG>(0, size() - unbufferedPosition_);
        LONG n = std::min(count, available);
        if (n > 0) std::memcpy(destination, bytes_->data() + unbufferedPosition_, static_cast<std::size_t>(n));
        unbufferedPosition_ += n;
        return n;
    }
    LONG copied = 0;
    while (copied < count) {
        if (info_.pchNext == info_.pchEndRead) {
            fillAt(position());
            if (info_.pchNext == info_.pchEndRead) break;
        }
        LONG n = std::min<LONG>(count - copied, static_cast<LONG>(info_.pchEndRead - info_.pchNext));
        std::memcpy(destination + copied, info_.pchNext, static_cast<std::size_t>(n));
        info_.pchNext += n;
        copied += n;
    }
    return copied;
}

bool MmioFile::seekTo(long long offset) {
    if (offset < 0 || offset > INT32_MAX) return false;
    LONG target = static_cast<LONG>(offset);
    if (!buffered()) {
        unbufferedPosition_ = target;
        return true;
    }
    if (target >= info_.lBufOffset && target <= info_.lBufOffset + bufferedBytes()) {
        info_.pchNext = info_.pchBuffer + (target - info_.lBufOffset);
    } else {
        // Outside the buffer: it is emptied and refilled by the next read.
        info_.lBufOffset = info_.lDiskOffset = target;
        info_.pchNext = info_.pchEndRead = info_.pchBuffer;
    }
    return true;
}

void MmioFile::getInfo(MMIOINFO& info) const {
    info = info_;
    if (!buffered()) info.lBufOffset = info.lDiskOffset = unbufferedPosition_;
}

MMRESULT MmioFile::setInfo(const MMIOINFO& info) {
    // The caller may only have moved its read pointer inside the buffer it was given.
    if (info.pchBuffer != info_.pchBuffer) return MMSYSERR_INVALPARAM;
    if (!buffered()) return MMSYSERR_NOERROR;
    if (info.pchNext < info_.pchBuffer || info.pchNext > info_.pchEndRead) return MMSYSERR_INVALPARAM;
    info_.pchNext = info.pchNext;
    return MMSYSERR_NOERROR;
}

void MmioFile::advance() { fillAt(info_.lBufOffset + bufferedBytes()); }

}  // namespace velmora::mmio
