#include "velmora/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace velmora {

namespace {

// The setting a line sets ("name" of "  name = value # note"), or empty.
std::string nameSetBy(const std::string& line) {
    const std::string content = line.substr(0, line.find('#'));
    const size_t equals = content.find('=');
    if (equals == std::string::npos) return "";
    const size_t first = content.find_first_not_of(" \t");
    const size_t last = content.find_last_not_of(" \t", equals == 0 ? 0 : equals - 1);
    if (first == std::string::npos || first >= equals || last == std::string::npos) return "";
    return content.substr(first, last - first + 1);
}

// The line with its value replaced, keeping what comes before the value and a comment after it.
std::string withValue(const std::string& line, const std::string& value) {
    const size_t equals = line.find('=');
    const size_t hash = line.find('#', equals);
    std::string rewritten = line.substr(0, equals) + "= " + value;
    if (hash != std::string::npos) rewritten += " " + line.substr(hash);
    if (!line.empty() && line.back() == '\r' && rewritten.back() != '\r') rewritten += '\r';
    return rewritten;
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

}  // namespace

bool SettingsFile::write(const std::string& name, const std::string& value, std::string& problem) const {
    auto failed = [&](const std::string& what) {
        problem = what + ": " + std::strerror(errno);
        return false;
    };
    if (path_.empty()) {
        errno = ENOENT;
        return failed("no settings folder (HOME is not set)");
    }
    std::vector<std::string> lines;
    bool found = false;
    bool endsWithNewline = true;
    {
        std::string text;
        std::FILE* old = std::fopen(path_.c_str(), "rb");
        if (!old && errno != ENOENT) return failed(path_);
        for (int c; old && (c = std::fgetc(old)) != EOF;) text += static_cast<char>(c);
        if (old && std::ferror(old)) {
            std::fclose(old);
            return failed(path_);
        }
        if (old) std::fclose(old);
        endsWithNewline = text.empty() || text.back() == '\n';
        std::istringstream rows(text);
        for (std::string line; std::getline(rows, line);) {
            if (nameSetBy(line) == name) {
                line = withValue(line, value);
                found = true;
            }
            lines.push_back(line);
        }
    }
    if (!found) lines.push_back(name + " = " + value);

    namespace fs = std::filesystem;
    const fs::path path(path_);
    std::error_code error;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), error);
    if (error) {
        problem = path.parent_path().string() + ": " + error.message();
        return false;
    }
    const fs::path temporary = path_ + ".new";
    std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
    if (!file) return failed(path_);
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || endsWithNewline || !found) text += '\n';
    }
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    written = flushToDisk(file) && written;
    written = std::fclose(file) == 0 && written;
    // The player's own permissions on the file stay.
    const fs::file_status old = fs::status(path, error);
    if (written && !error) fs::permissions(temporary, old.permissions(), error);
    error.clear();
    if (written) fs::rename(temporary, path, error);
    if (!written || error) {
        const std::string reason = written ? error.message() : std::strerror(errno);
        fs::remove(temporary, error);
        problem = path_ + ": " + reason;
        return false;
    }
    return true;
}

}  // namespace velmora
