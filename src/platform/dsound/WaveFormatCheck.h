// Which formats buffers accept: PCM, one or two channels, 8 or 16 bits.
#pragma once

#include <dsound.h>

namespace velmora::dsound {

// DS_OK, or the error CreateSoundBuffer / SetFormat report for the format.
HRESULT checkPcmFormat(const WAVEFORMATEX* format);

}  // namespace velmora::dsound
