// winmm's mmio entry points. Files are opened read-only; handles are checked, so a
// stale or foreign handle gets MMSYSERR_INVALHANDLE instead of a crash.
#include <windows.h>
#include <mmsystem.h>

#include <memory>
#include <unordered_map>

#include "FileCache.h"
#include "MmioFile.h"
#include "RiffChunks.h"

using velmora::mmio::FileCache;
using velmora::mmio::FileError;
using velmora::mmio::MmioFile;

namespace {

std::unordered_map<HMMIO, std::unique_ptr<MmioFile>>& openFiles() {
    static std::unordered_map<HMMIO, std::unique_ptr<MmioFile>> files;
    return files;
}

MmioFile* fileOf(HMMIO handle) {
    auto found = openFiles().find(handle);
    return found == openFiles().end() ? nullptr : found->second.get();
}

HMMIO failOpen(LPMMIOINFO info, UINT error) {
    if (info) info->wErrorRet = error;
    return nullptr;
}

constexpr DWORD kSupportedOpenFlags = MMIO_ALLOCBUF | MMIO_SHAREMODE;

}  // namespace

HMMIO WINAPI mmioOpenA(LPSTR pszFileName, LPMMIOINFO pmmioinfo, DWORD fdwOpen) {
    if (!pszFileName) return failOpen(pmmioinfo, MMSYSERR_INVALPARAM);
    if ((fdwOpen & MMIO_RWMODE) != MMIO_READ) return failOpen(pmmioinfo, MMIOERR_ACCESSDENIED);
    if (fdwOpen & ~kSupportedOpenFlags) return failOpen(pmmioinfo, MMSYSERR_INVALFLAG);
    // Custom I/O procedures and caller-supplied buffers are not part of this layer.
    if (pmmioinfo && (pmmioinfo->pIOProc || pmmioinfo->fccIOProc || pmmioinfo->pchBuffer)) {
        return failOpen(pmmioinfo, MMSYSERR_INVALPARAM);
    }

    FileError error = FileError::None;
    auto bytes = FileCache::instance().contents(pszFileName, error);
    if (!bytes) {
        return failOpen(pmmioinfo, error == FileError::NotFound ? MMIOERR_FILENOTFOUND : MMIOERR_CANNOTOPEN);
    }

    LONG bufferSize = 0;
    if (fdwOpen & MMIO_ALLOCBUF) {
        bufferSize = pmmioinfo && pmmioinfo->cchBuffer > 0 ? pmmioinfo->cchBuffer : MMIO_DEFAULTBUFFER;
    }
    auto file = std::make_unique<MmioFile>(std::move(bytes), bufferSize);
    HMMIO handle = reinterpret_cast<HMMIO>(file.get());
    openFiles().emplace(handle, std::move(file));
    if (pmmioinfo) pmmioinfo->wErrorRet = MMSYSERR_NOERROR;
    return handle;
}

MMRESULT WINAPI mmioClose(HMMIO hmmio, UINT) {
    return openFiles().erase(hmmio) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

LONG WINAPI mmioRead(HMMIO hmmio, HPSTR pch, LONG cch) {
    MmioFile* file = fileOf(hmmio);
    if (!file || cch < 0 || (!pch && cch > 0)) return -1;
    return file->read(pch, cch);
}

LONG WINAPI mmioSeek(HMMIO hmmio, LONG lOffset, int iOrigin) {
    MmioFile* file = fileOf(hmmio);
    if (!file) return -1;
    long long base = 0;
    switch (iOrigin) {
        case SEEK_SET: base = 0; break;
        case SEEK_CUR: base = file->position(); break;
        case SEEK_END: base = file->size(); break;
        default: return -1;
    }
    long long target = base + lOffset;
    return file->seekTo(target) ? static_cast<LONG>(target) : -1;
}

MMRESULT WINAPI mmioGetInfo(HMMIO hmmio, LPMMIOINFO pmmioinfo, UINT) {
    MmioFile* file = fileOf(hmmio);
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!pmmioinfo) return MMSYSERR_INVALPARAM;
    file->getInfo(*pmmioinfo);
    pmmioinfo->hmmio = hmmio;
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mmioSetInfo(HMMIO hmmio, LPCMMIOINFO pmmioinfo, UINT) {
    MmioFile* file = fileOf(hmmio);
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!pmmioinfo) return MMSYSERR_INVALPARAM;
    return file->setInfo(*pmmioinfo);
}

MMRESULT WINAPI mmioAdvance(HMMIO hmmio, LPMMIOINFO pmmioinfo, UINT fuAdvance) {
    MmioFile* file = fileOf(hmmio);
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!file->buffered()) return MMIOERR_UNBUFFERED;
    if (fuAdvance == MMIO_WRITE) return MMIOERR_CANNOTWRITE;
    if (fuAdvance != MMIO_READ) return MMSYSERR_INVALPARAM;
    if (pmmioinfo) {
        MMRESULT taken = file->setInfo(*pmmioinfo);
        if (taken != MMSYSERR_NOERROR) return taken;
    }
    file->advance();
    if (pmmioinfo) mmioGetInfo(hmmio, pmmioinfo, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mmioDescend(HMMIO hmmio, LPMMCKINFO pmmcki, const MMCKINFO* pmmckiParent, UINT fuDescend) {
    MmioFile* file = fileOf(hmmio);
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!pmmcki) return MMSYSERR_INVALPARAM;
    return velmora::mmio::descendIntoChunk(*file, *pmmcki, pmmckiParent, fuDescend);
}

MMRESULT WINAPI mmioAscend(HMMIO hmmio, LPMMCKINFO pmmcki, UINT) {
    MmioFile* file = fileOf(hmmio);
    if (!file) return MMSYSERR_INVALHANDLE;
    if (!pmmcki) return MMSYSERR_INVALPARAM;
    return velmora::mmio::ascendOutOfChunk(*file, *pmmcki);
}
