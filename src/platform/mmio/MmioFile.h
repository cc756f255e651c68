// One file opened with mmioOpenA: its bytes, the current position and, when opened
// with MMIO_ALLOCBUF, the I/O buffer that mmioGetInfo exposes to the caller.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "FileCache.h"

namespace velmora::mmio {

class MmioFile {
public:
    // bufferSize 0 opens the file unbuffered.
    MmioFile(FileBytes bytes, LONG bufferSize);

    LONG size() const { return static_cast<LONG>(bytes_->size()); }
    LONG position() const;

    // Copies up to `count` bytes from the position on; returns how many (0 at the end).
    LONG read(char* destination, LONG count);
    // Moves to `offset`; false (and no move) when it is negative.
    bool seekTo(long long offset);

    bool buffered() const { return !buffer_.empty(); }
    void getInfo(MMIOINFO& info) const;
    MMRESULT setInfo(const MMIOINFO& info);
    // Refills the buffer with the bytes that follow it (empty at the end of the file).
    void advance();

private:
    LONG bufferedBytes() const;
    void fillAt(LONG offset);

    FileBytes bytes_;
    std::vector<char> buffer_;
    MMIOINFO info_ {};
    LONG unbufferedPosition_ = 0;
};

}  // namespace velmora::mmio
