#include "RiffChunks.h"

#include <cstdint>

namespace velmora::mmio {

namespace {

struct ChunkHeader {
    FOURCC id;
    DWORD size;
    FOURCC formType;  // 0 unless the chunk is "RIFF" or "LIST"
};

DWORD littleEndian32(const unsigned char* bytes) {
    return static_cast<DWORD>(bytes[0]) | static_cast<DWORD>(bytes[1]) << 8 | static_cast<DWORD>(bytes[2]) << 16 |
           static_cast<DWORD>(bytes[3]) << 24;
}

bool hasFormType(FOURCC id) { return id == FOURCC_RIFF || id == FOURCC_LIST; }

bool readHeaderAt(MmioFile& file, long long start, ChunkHeader& header) {
    unsigned char bytes[12];
    if (!file.seekTo(start) || file.read(reinterpret_cast<char*>(bytes), 8) != 8) return false;
    header.id = littleEndian32(bytes);
    header.size = littleEndian32(bytes + 4);
    header.formType = 0;
    if (hasFormType(header.id)) {
        if (file.read(reinterpret_cast<char*>(bytes + 8), 4) != 4) return false;
        header.formType = littleEndian32(bytes + 8);
    }
    return true;
}

bool matches(const ChunkHeader& header, const MMCKINFO& wanted, UINT flags) {
    if (flags & MMIO_FINDCHUNK) return header.id == wanted.ckid;
    if (flags & MMIO_FINDRIFF) return header.id == FOURCC_RIFF && header.formType == wanted.fccType;
    if (flags & MMIO_FINDLIST) return header.id == FOURCC_LIST && header.formType == wanted.fccType;
    return true;
}

long long paddedSize(DWORD size) { return (static_cast<long long>(size) + 1) & ~1LL; }

}  // namespace

MMRESULT descendIntoChunk(MmioFile& file, MMCKINFO& chunk, const MMCKINFO* parent, UINT flags) {
    // Computed in 64 bits: sizes in a damaged file may point anywhere.
    long long limit = parent ? static_cast<long long>(parent->dwDataOffset) + parent->cksize : INT64_MAX;
    long long start = file.position();
    for (;;) {
        ChunkHeader header {};
        if (start + 8 > limit || !readHeaderAt(file, start, header)) return MMIOERR_CHUNKNOTFOUND;
        if (matches(header, chunk, flags)) {
            chunk.ckid = header.id;
            chunk.cksize = header.size;
            chunk.fccType = header.formType;
            chunk.dwDataOffset = static_cast<DWORD>(start + 8);
            chunk.dwFlags = 0;
            return MMSYSERR_NOERROR;
        }
        start += 8 + paddedSize(header.size);
    }
}

MMRESULT ascendOutOfChunk(MmioFile& file, const MMCKINFO& chunk) {
    long long end = static_cast<long long>(chunk.dwDataOffset) + paddedSize(chunk.cksize);
    return file.seekTo(end) ? MMSYSERR_NOERROR : MMIOERR_CANNOTSEEK;
}

}  // namespace velmora::mmio
