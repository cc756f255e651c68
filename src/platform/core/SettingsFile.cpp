#include "velmora/SettingsFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

bool makeFolders(const std::string& folder) {
    if (folder.empty()) return true;
    struct stat status {};
    if (stat(folder.c_str(), &status) == 0) return S_ISDIR(status.st_mode);
    const size_t slash = folder.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !makeFolders(folder.substr(0, slash))) return false;
    return mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
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

    const size_t slash = path_.find_last_of('/');
    if (slash != std::string::npos && !makeFolders(path_.substr(0, slash))) return failed(path_.substr(0, slash));
    std::string temporary = path_ + ".XXXXXX";
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) return failed(path_);
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || endsWithNewline || !found) text += '\n';
    }
    bool written = ::write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    struct stat old {};
    if (written && stat(path_.c_str(), &old) == 0) fchmod(descriptor, old.st_mode & 07777);
    written = fsync(descriptor) == 0 && written;
    written = close(descriptor) == 0 && written;
    if (!written || std::rename(temporary.c_str(), path_.c_str()) != 0) {
        const int error = errno;
        std::remove(temporary.c_str());
        errno = error;
        return failed(path_);
    }
    return true;
}

}  // namespace velmora
