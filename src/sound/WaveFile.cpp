#include "WaveFile.h"

#include <cstring>

namespace {

// The PCM part of the format, as stored at the start of the "fmt " chunk.
const LONG kPcmFormatBytes = 16;

WAVEFORMATEX* allocateFormat(WORD extraBytes) {
    return reinterpret_cast<WAVEFORMATEX*>(new BYTE[sizeof(WAVEFORMATEX) + extraBytes]);
}

void freeFormat(WAVEFORMATEX*& format) {
    delete[] reinterpret_cast<BYTE*>(format);
    format = nullptr;
}

}  // namespace

WaveFile::WaveFile() : format(nullptr), file(nullptr) {
    ZeroMemory(&dataChunk, sizeof(dataChunk));
    ZeroMemory(&riffChunk, sizeof(riffChunk));
}

WaveFile::~WaveFile() { close(); }

HRESULT WaveFile::open(const char* fileName) {
    freeFormat(format);

    file = mmioOpenA(const_cast<LPSTR>(fileName), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (!file) return E_FAIL;

    HRESULT result = readFormat();
    if (FAILED(result)) {
        mmioClose(file, 0);
        file = nullptr;
        return result;
    }

    // Look for "data" from the start of the RIFF body: it need not follow "fmt ".
    if (mmioSeek(file, static_cast<LONG>(riffChunk.dwDataOffset + sizeof(FOURCC)), SEEK_SET) == -1) return E_FAIL;
    dataChunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(file, &dataChunk, &riffChunk, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return E_FAIL;

    // A cut or damaged file may claim more data than it holds; the buffer is sized from
    // this count, so it is held to the bytes that are there.
    LONG fileEnd = mmioSeek(file, 0, SEEK_END);
    if (fileEnd == -1 || mmioSeek(file, static_cast<LONG>(dataChunk.dwDataOffset), SEEK_SET) == -1) return E_FAIL;
    DWORD present = static_cast<DWORD>(fileEnd) > dataChunk.dwDataOffset ? fileEnd - dataChunk.dwDataOffset : 0;
    if (dataChunk.cksize > present) dataChunk.cksize = present;
    return S_OK;
}

HRESULT WaveFile::readFormat() {
    if (mmioDescend(file, &riffChunk, nullptr, 0) != MMSYSERR_NOERROR) return E_FAIL;
    if (riffChunk.ckid != FOURCC_RIFF || riffChunk.fccType != mmioFOURCC('W', 'A', 'V', 'E')) return E_FAIL;

    MMCKINFO formatChunk;
    ZeroMemory(&formatChunk, sizeof(formatChunk));
    formatChunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(file, &formatChunk, &riffChunk, MMIO_FINDCHUNK) != MMSYSERR_NOERROR) return E_FAIL;
    if (formatChunk.cksize < static_cast<DWORD>(kPcmFormatBytes)) return E_FAIL;

    BYTE pcmPart[kPcmFormatBytes];
    if (mmioRead(file, reinterpret_cast<HPSTR>(pcmPart), kPcmFormatBytes) != kPcmFormatBytes) return E_FAIL;
    WORD formatTag;
    std::memcpy(&formatTag, pcmPart, sizeof(formatTag));

    if (formatTag == WAVE_FORMAT_PCM) {
        format = allocateFormat(0);
        std::memcpy(format, pcmPart, kPcmFormatBytes);
        format->cbSize = 0;
    } else {
        // Other formats carry a count of extra bytes and the bytes themselves.
        WORD extraBytes = 0;
        if (mmioRead(file, reinterpret_cast<HPSTR>(&extraBytes), sizeof(extraBytes)) != sizeof(extraBytes)) {
            return E_FAIL;
        }
        format = allocateFormat(extraBytes);
        std::memcpy(format, pcmPart, kPcmFormatBytes);
        format->cbSize = extraBytes;
        HPSTR extra = reinterpret_cast<HPSTR>(format) + sizeof(WAVEFORMATEX);
        if (mmioRead(file, extra, extraBytes) != extraBytes) {
            freeFormat(format);
            return E_FAIL;
        }
    }

    if (mmioAscend(file, &formatChunk, 0) != MMSYSERR_NOERROR) {
        freeFormat(format);
        return E_FAIL;
    }
    return S_OK;
}

HRESULT WaveFile::read(DWORD byteCount, BYTE* destination, DWORD* bytesRead) {
    *bytesRead = 0;
    if (!file) return E_FAIL;

    MMIOINFO io;
    if (mmioGetInfo(file, &io, 0) != MMSYSERR_NOERROR) return E_FAIL;

    DWORD count = byteCount < dataChunk.cksize ? byteCount : dataChunk.cksize;

    // Straight from mmio's own buffer, refilling it whenever it runs dry. Should the file
    // end early, what was read is kept and counted.
    HRESULT result = S_OK;
    DWORD copied = 0;
    while (copied < count) {
        if (io.pchNext == io.pchEndRead) {
            if (mmioAdvance(file, &io, MMIO_READ) != MMSYSERR_NOERROR || io.pchNext == io.pchEndRead) {
                result = E_FAIL;
                break;
            }
        }
        destination[copied++] = static_cast<BYTE>(*io.pchNext);
        ++io.pchNext;
    }
    dataChunk.cksize -= copied;
    *bytesRead = copied;

    if (mmioSetInfo(file, &io, 0) != MMSYSERR_NOERROR) return E_FAIL;
    return result;
}

void WaveFile::close() {
    if (file) {
        mmioClose(file, 0);
        file = nullptr;
    }
    freeFormat(format);
}
