// Building WAV files byte by byte, well-formed or not.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

typedef std::vector<uint8_t> Bytes;

void append16(Bytes& out, uint32_t value);
void append32(Bytes& out, uint32_t value);

// One RIFF chunk with the given or the true size; odd sizes get their pad byte.
Bytes chunk(const char* id, const Bytes& body, uint32_t declaredSize);
Bytes chunk(const char* id, const Bytes& body);
Bytes riff(const char* formType, const std::vector<Bytes>& chunks);
// The 16 PCM bytes of a "fmt " chunk.
Bytes pcmFormat(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);
// Recognisable sample bytes.
Bytes samples(size_t count, uint8_t seed);
// A 22050 Hz, 16-bit, one-channel PCM file around `data`.
Bytes monoWave(const Bytes& data);
