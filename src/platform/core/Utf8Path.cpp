#include "velmora/Utf8Path.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#ifdef _WIN32
#include <wchar.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmora {

std::filesystem::path pathFromUtf8(const std::string& utf8) { return std::filesystem::u8path(utf8); }

std::string utf8FromPath(const std::filesystem::path& path) { return path.u8string(); }

std::FILE* openFile(const std::string& path, const char* mode) {
#ifdef _WIN32
    const std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(pathFromUtf8(path).c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

std::FILE* openRegularFile(const std::string& path, std::string& problem) {
#ifdef _WIN32
    // Windows keeps pipes and devices out of the folders: a look first cannot block.
    std::error_code error;
    const auto status = std::filesystem::status(pathFromUtf8(path), error);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        errno = EINVAL;
        problem = "not a regular file";
        return nullptr;
    }
    std::FILE* file = openFile(path, "rb");
    if (!file) problem = std::strerror(errno);
    return file;
#else
    // Opened without waiting for a writer (a FIFO), then looked at through the same handle.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        problem = std::strerror(errno);
        return nullptr;
    }
    struct stat info;
    const bool regular = fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode);
    std::FILE* file = regular && fcntl(descriptor, F_SETFL, 0) == 0 ? fdopen(descriptor, "rb") : nullptr;
    if (!file) {
        const int reason = errno;
        close(descriptor);
        problem = regular ? std::strerror(reason) : "not a regular file";
        errno = regular ? reason : EINVAL;
    }
    return file;
#endif
}

}  // namespace velmora
