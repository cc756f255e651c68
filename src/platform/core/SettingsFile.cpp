#include "velmora/SettingsFile.h"

#include "velmora/Language.h"
#include "velmora/Settings.h"
#include "velmora/Utf8Path.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <share.h>
#include <sys/locking.h>
#include <sys/stat.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace velmora {

namespace fs = std::filesystem;

namespace {

const std::string kByteOrderMark = "\xef\xbb\xbf";

// The setting a line sets ("name" of "  name = value # note"), or empty.
std::string nameSetBy(const std::string& line) {
    const SettingsLine parsed = parseSettingsLine(line);
    return parsed.kind == SettingsLine::Kind::Setting ? parsed.name : "";
}

// The line with its value replaced, keeping what comes before the value and a note after it.
std::string withValue(const std::string& line, const std::string& value) {
    const SettingsLine parsed = parseSettingsLine(line);
    std::string rewritten = line.substr(0, parsed.equals) + "= " + settingsFileValue(value);
    if (parsed.comment != std::string::npos) rewritten += " " + line.substr(parsed.comment);
    if (!line.empty() && line.back() == '\r' && rewritten.back() != '\r') rewritten += '\r';
    return rewritten;
}

// The file a link names, through any chain of links, so that a settings.ini kept as a link
// (to a folder of dot files under version control) stays one.
fs::path followLinks(fs::path path) {
    std::error_code error;
    for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(path, error)); ++hops) {
        const fs::path target = fs::read_symlink(path, error);
        if (error) break;
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return path;
}

// One save at a time in the folder: another game's save between this one's read and its
// rename would be lost. A folder where locks do not work (some network ones) still saves.
int lockFolder(const fs::path& folder) {
#ifdef _WIN32
    int lock = -1;
    if (_wsopen_s(&lock, (folder / L"settings.ini.lock").c_str(), _O_RDWR | _O_CREAT, _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0)
        return -1;
    // Tries for ten seconds, then goes on without.
    _locking(lock, _LK_LOCK, 1);
    return lock;
#else
    const int lock = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (lock >= 0) flock(lock, LOCK_EX);
    return lock;
#endif
}

void unlockFolder(int lock) {
    if (lock < 0) return;
#ifdef _WIN32
    _lseek(lock, 0, SEEK_SET);
    _locking(lock, _LK_UNLCK, 1);
    _close(lock);
#else
    close(lock);  // the lock goes with the descriptor
#endif
}

int processId() {
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

// The bytes on the disk before the rename, so that a crash leaves one whole file or the other.
bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return false;
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

bool isReadOnly(const fs::path& path) {
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    // The write bits, not a trial write: root may write anyway, but the player said no.
    constexpr fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return fs::exists(status) && (status.permissions() & writable) == fs::perms::none;
}

}  // namespace

bool SettingsFile::write(const std::string& name, const std::string& value, std::string& problem) const {
    if (path_.empty()) {
        problem = std::string("no settings folder (HOME is not set): ") + std::strerror(ENOENT);
        return false;
    }
    const fs::path path = followLinks(pathFromUtf8(path_));
    std::error_code error;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), error);
    if (error) {
        problem = utf8FromPath(path.parent_path()) + ": " + error.message();
        return false;
    }
    const int lock = lockFolder(path.has_parent_path() ? path.parent_path() : fs::path("."));
    const bool saved = writeLocked(path, name, value, problem);
    unlockFolder(lock);
    return saved;
}

bool SettingsFile::writeLocked(const fs::path& path, const std::string& name, const std::string& value,
                               std::string& problem) const {
    const std::string shown = utf8FromPath(path);
    if (isReadOnly(path)) {
        problem = localized("%s is read-only", {utf8FromPath(path.filename())});
        return false;
    }
    std::string text;
    {
        std::string reason;
        std::FILE* old = openRegularFile(shown, reason);
        if (!old && errno != ENOENT) {
            problem = shown + ": " + reason;
            return false;
        }
        if (old) {
            text.resize(kSettingsFileMaxBytes + 1);
            text.resize(std::fread(text.data(), 1, text.size(), old));
            const bool failed = std::ferror(old) != 0;
            const int error = errno;
            std::fclose(old);
            if (failed) {
                problem = shown + ": " + std::strerror(error);
                return false;
            }
        }
    }
    // Some editors start a file with a byte order mark; its first line is a line like any.
    const bool marked = text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0;
    if (marked) text.erase(0, kByteOrderMark.size());

    std::vector<std::string> lines;
    bool found = false;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (nameSetBy(line) == name) {
            line = withValue(line, value);
            found = true;
            if (line.size() > kSettingsLineMaxBytes) {
                problem = localized("%s:%s: longer than %s characters; shorten it by hand",
                                    {shown, std::to_string(lines.size() + 1), std::to_string(kSettingsLineMaxBytes)});
                return false;
            }
        }
        lines.push_back(line);
    }
    const bool endsWithNewline = text.empty() || text.back() == '\n';
    // A file written on Windows keeps its line ends.
    const bool crlf = !lines.empty() && !lines[0].empty() && lines[0].back() == '\r';
    if (!found) {
        // The last line had no end of its own: it gets the file's.
        if (!endsWithNewline && crlf) lines.back() += '\r';
        lines.push_back(name + " = " + settingsFileValue(value) + (crlf ? "\r" : ""));
    }
    std::string written = marked ? kByteOrderMark : "";
    for (size_t i = 0; i < lines.size(); ++i) {
        written += lines[i];
        if (i + 1 < lines.size() || endsWithNewline || !found) written += '\n';
    }
    if (written.size() > kSettingsFileMaxBytes) {
        problem = localized("%s: larger than %s KiB, not a settings file", {shown, std::to_string(kSettingsFileMaxBytes / 1024)});
        return false;
    }

    // Past a file-size limit (ulimit -f) the write fails with EFBIG instead of ending the game.
#ifdef SIGXFSZ
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // A name of this writer's own: another game saving at the same time has its own.
    const std::string temporary = shown + "." + std::to_string(processId()) + ".new";
    std::FILE* file = openFile(temporary, "wb");
    if (!file) {
        problem = shown + ": " + std::strerror(errno);
        return false;
    }
    int failure = 0;
    if (std::fwrite(written.data(), 1, written.size(), file) != written.size() || !flushToDisk(file)) failure = errno;
    if (std::fclose(file) != 0 && failure == 0) failure = errno;
    std::error_code error;
    // The player's own permissions on the file stay.
    const fs::file_status old = fs::status(path, error);
    if (failure == 0 && !error) fs::permissions(pathFromUtf8(temporary), old.permissions(), error);
    error.clear();
    if (failure == 0) fs::rename(pathFromUtf8(temporary), path, error);
    if (failure != 0 || error) {
        const std::string reason = failure != 0 ? std::strerror(failure) : error.message();
        fs::remove(pathFromUtf8(temporary), error);
        problem = shown + ": " + reason;
        return false;
    }
    return true;
}

}  // namespace velmora
