#include "WavFile.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <cstring>

namespace assettest {
namespace {

// Reads the chunks below the open RIFF form; false when one is missing or short.
bool readChunks(HMMIO file, MMCKINFO& riff, WavFile& wav) {
    if (mmioDescend(file, &riff, nullptr, 0) != MMSYSERR_NOERROR) return false;
    if (riff.ckid != FOURCC_RIFF || riff.fccType != mmioFOURCC('W', 'A', 'V', 'E')) return false;

    MMCKINFO chunk{};
    chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR || chunk.cksize < 16) return false;
    unsigned char pcm[16];
    if (mmioRead(file, reinterpret_cast<HPSTR>(pcm), 16) != 16) return false;
    auto little = [&](int at, int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes; ++i) v |= uint32_t(pcm[at + i]) << (8 * i);
        return int(v);
    };
    wav.format = little(0, 2);
    wav.channels = little(2, 2);
    wav.sampleRate = little(4, 4);
    wav.bitsPerSample = little(14, 2);
    if (mmioAscend(file, &chunk, 0) != MMSYSERR_NOERROR) return false;

    chunk = MMCKINFO{};
    chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return false;
    std::vector<char> data(chunk.cksize);
    if (mmioRead(file, data.data(), LONG(data.size())) != LONG(data.size())) return false;
    if (wav.bitsPerSample == 16 && wav.channels == 1)
        for (size_t i = 0; i + 1 < data.size(); i += 2) {
            int16_t sample;
            std::memcpy(&sample, data.data() + i, 2);
            wav.samples.push_back(sample / 32768.0);
        }
    return true;
}

}  // namespace

WavFile WavFile::read(const std::string& path) {
    WavFile wav;
    HMMIO file = mmioOpenA(const_cast<LPSTR>(path.c_str()), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!file) return wav;
    MMCKINFO riff{};
    wav.valid = readChunks(file, riff, wav);
    mmioClose(file, 0);
    return wav;
}

}  // namespace assettest
