// Which formats buffers accept: PCM, one or two channels, 8 or 16 bits, given either as
// WAVE_FORMAT_PCM or as the WAVE_FORMAT_EXTENSIBLE form of the same thing (what sound
// editors write). Anything else is refused, and the first refusal for each reason is
// logged, so that a sound a player dropped in and never hears can be traced.
#pragma once

#include <dsound.h>

namespace velmora::dsound {

// DS_OK, or the error CreateSoundBuffer / SetFormat report for the format.
HRESULT checkPcmFormat(const WAVEFORMATEX* format);

}  // namespace velmora::dsound
