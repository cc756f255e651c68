#include "WaveBytes.h"

void append16(Bytes& out, uint32_t value) {
    out.push_back(value & 0xFF);
    out.push_back((value >> 8) & 0xFF);
}

void append32(Bytes& out, uint32_t value) {
    append16(out, value & 0xFFFF);
    append16(out, value >> 16);
}

Bytes chunk(const char* id, const Bytes& body, uint32_t declaredSize) {
    Bytes out(id, id + 4);
    append32(out, declaredSize);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2) out.push_back(0);
    return out;
}

Bytes chunk(const char* id, const Bytes& body) { return chunk(id, body, static_cast<uint32_t>(body.size())); }

Bytes riff(const char* formType, const std::vector<Bytes>& chunks) {
    Bytes body(formType, formType + 4);
    for (const Bytes& c : chunks) body.insert(body.end(), c.begin(), c.end());
    return chunk("RIFF", body);
}

Bytes pcmFormat(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    Bytes out;
    uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    append16(out, tag);
    append16(out, channels);
    append32(out, rate);
    append32(out, rate * align);
    append16(out, align);
    append16(out, bits);
    return out;
}

Bytes samples(size_t count, uint8_t seed) {
    Bytes out(count);
    for (size_t i = 0; i < count; ++i) out[i] = static_cast<uint8_t>(seed + i * 7);
    return out;
}

Bytes monoWave(const Bytes& data) {
    return riff("WAVE", {chunk("fmt ", pcmFormat(1, 1, 22050, 16)), chunk("data", data)});
}
