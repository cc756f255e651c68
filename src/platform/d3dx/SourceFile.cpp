#include "SourceFile.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

namespace velmora::d3dx {

std::string normalizePath(const char* fileName) {
    std::string path(fileName ? fileName : "");
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool stampOf(const std::string& path, FileStamp& stamp) {
    struct stat info;
    if (path.empty() || stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    stamp.size = info.st_size;
    stamp.modifiedNs = (int64_t)info.st_mtim.tv_sec * 1000000000 + info.st_mtim.tv_nsec;
    return true;
}

bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes) {
    FileStamp stamp;
    if (!stampOf(path, stamp)) return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.resize((size_t)stamp.size);
    const size_t read = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    bytes.resize(read);
    return read == (size_t)stamp.size;
}

}  // namespace velmora::d3dx
