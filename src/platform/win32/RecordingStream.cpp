#include "RecordingStream.h"

#include "ReplayFile.h"
#include "velmora/Printable.h"
#include "velmora/Utf8Path.h"

#include <cerrno>
#include <csignal>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace velmora::win32 {

RecordingStream::~RecordingStream() {
    if (file_) std::fclose(file_);
}

bool RecordingStream::open(const std::string& path, DWORD clockStart, std::string& problem) {
    // Past a file-size limit (ulimit -f) the write fails with EFBIG instead of ending the game.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    file_ = openFile(path, "wb");
    if (!file_) {
        problem = std::strerror(errno);
        return false;
    }
    path_ = path;
    checksum_ = ReplayFile::kChecksumStart;
    failure_ = 0;
    put(ReplayFile::header(ReplayFile::currentGameVersion(), clockStart));
    return true;
}

void RecordingStream::writeFrame(const std::vector<unsigned char>& frame) {
    std::vector<unsigned char> record;
    ReplayFile::appendFrame(frame, record);
    put(record);
}

bool RecordingStream::finish(unsigned long frames, std::string& problem) {
    std::vector<unsigned char> end;
    ReplayFile::appendEnd(frames, checksum_, end);
    put(end);
#ifdef _WIN32
    if (failure_ == 0 && _commit(_fileno(file_)) != 0) failure_ = errno;
#else
    if (failure_ == 0 && fsync(fileno(file_)) != 0) failure_ = errno;
#endif
    if (std::fclose(file_) != 0 && failure_ == 0) failure_ = errno;
    file_ = nullptr;
    if (failure_ != 0) problem = printablePath(path_) + ": " + std::strerror(failure_);
    return failure_ == 0;
}

void RecordingStream::put(const std::vector<unsigned char>& bytes) {
    checksum_ = ReplayFile::checksum(bytes.data(), bytes.size(), checksum_);
    if (failure_ != 0) return;
    // In the system's hands at once: a killed process loses only what its buffer held.
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() || std::fflush(file_) != 0) failure_ = errno;
}

}  // namespace velmora::win32
