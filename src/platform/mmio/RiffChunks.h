// Moving into and out of RIFF chunks (mmioDescend / mmioAscend). A chunk is a
// four-character id, a 32-bit little-endian size and the data, padded to an even length;
// "RIFF" and "LIST" chunks start their data with a four-character form type.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include "MmioFile.h"

namespace velmora::mmio {

MMRESULT descendIntoChunk(MmioFile& file, MMCKINFO& chunk, const MMCKINFO* parent, UINT flags);
MMRESULT ascendOutOfChunk(MmioFile& file, const MMCKINFO& chunk);

}  // namespace velmora::mmio
