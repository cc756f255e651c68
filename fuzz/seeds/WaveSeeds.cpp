#include "Seeds.h"

#include <cstring>

namespace {

// Sounds are cut to this many data bytes: enough for the reader, small for the fuzzer.
constexpr uint32_t kKeptDataBytes = 1024;

struct Chunk {
    std::string id;
    Bytes data;
    uint32_t declaredSize;  // what the header says; normally data.size()
};

Chunk chunk(const std::string& id, Bytes data) {
    const uint32_t size = static_cast<uint32_t>(data.size());
    return {id, std::move(data), size};
}

// RIFF form `form` holding the chunks, each padded to an even length.
Bytes riff(const std::vector<Chunk>& chunks, const std::string& form = "WAVE") {
    Bytes body;
    putText(body, form);
    for (const Chunk& c : chunks) {
        putText(body, c.id);
        put32(body, c.declaredSize);
        body.insert(body.end(), c.data.begin(), c.data.end());
        if (c.data.size() % 2) body.push_back(0);
    }
    Bytes file;
    putText(file, "RIFF");
    put32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

Bytes format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& extra = {}, bool withCount = false) {
    Bytes out;
    const uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    put16(out, tag);
    put16(out, channels);
    put32(out, rate);
    put32(out, rate * align);
    put16(out, align);
    put16(out, bits);
    if (withCount || !extra.empty()) {
        put16(out, static_cast<uint32_t>(extra.size()));
        out.insert(out.end(), extra.begin(), extra.end());
    }
    return out;
}

Bytes samples(size_t count) {
    Bytes out;
    for (size_t i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>((i * 37) ^ (i >> 3)));
    return out;
}

// The "fmt " chunk as it is and the first data bytes, whole blocks only.
bool shorten(const Bytes& file, Bytes& out) {
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0) return false;
    Bytes fmt, data;
    uint16_t blockAlign = 1;
    for (size_t at = 12; at + 8 <= file.size();) {
        uint32_t size;
        std::memcpy(&size, &file[at + 4], 4);
        const size_t end = std::min(file.size(), at + 8 + size);
        const Bytes content(file.begin() + static_cast<long>(at + 8), file.begin() + static_cast<long>(end));
        if (std::memcmp(&file[at], "fmt ", 4) == 0) {
            fmt = content;
            if (fmt.size() >= 14) std::memcpy(&blockAlign, &fmt[12], 2);
        } else if (std::memcmp(&file[at], "data", 4) == 0) {
            data = content;
        }
        at += 8 + size + (size % 2);
    }
    if (fmt.empty() || blockAlign == 0) return false;
    const size_t kept = std::min<size_t>(data.size(), kKeptDataBytes / blockAlign * blockAlign);
    data.resize(kept);
    out = riff({chunk("fmt ", fmt), chunk("data", data)});
    return true;
}

}  // namespace

void writeWaveSeeds(const std::filesystem::path& dataFolder, const SeedWriter& out) {
    for (const auto& path : filesUnder(dataFolder / "Sound", {".wav"})) {
        Bytes shortened;
        if (shorten(readFile(path), shortened)) out.write("game-" + path.stem().string() + ".wav", shortened);
    }

    out.write("mono16.wav", riff({chunk("fmt ", format(1, 1, 22050, 16)), chunk("data", samples(128))}));
    out.write("stereo8.wav", riff({chunk("fmt ", format(1, 2, 11025, 8)), chunk("data", samples(64))}));
    out.write("pcm-with-count.wav", riff({chunk("fmt ", format(1, 1, 44100, 16, {}, true)), chunk("data", samples(32))}));
    out.write("adpcm-extra.wav", riff({chunk("fmt ", format(2, 1, 22050, 4, samples(32))), chunk("data", samples(64))}));
    out.write("extensible.wav",
              riff({chunk("fmt ", format(0xFFFE, 1, 48000, 16, samples(22))), chunk("data", samples(96))}));
    out.write("data-first.wav", riff({chunk("data", samples(50)), chunk("fmt ", format(1, 1, 8000, 8))}));
    out.write("list-between.wav",
              riff({chunk("fmt ", format(1, 1, 8000, 8)), chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'N', 'A', 'M', 3, 0, 0, 0, 'a', 'b', 'c'}),
                    chunk("data", samples(33))}));
    out.write("short-fmt.wav", riff({chunk("fmt ", Bytes(14, 1)), chunk("data", samples(16))}));

    Chunk overlong = chunk("data", samples(40));
    overlong.declaredSize = 4000;
    out.write("data-past-end.wav", riff({chunk("fmt ", format(1, 1, 8000, 8)), overlong}));
    Bytes smallRiff = riff({chunk("fmt ", format(1, 1, 8000, 16)), chunk("data", samples(64))});
    smallRiff[4] = 20;
    smallRiff[5] = smallRiff[6] = smallRiff[7] = 0;
    out.write("riff-too-small.wav", smallRiff);
    out.write("not-wave.wav", riff({chunk("fmt ", format(1, 1, 8000, 8)), chunk("data", samples(8))}, "AVI "));
}
