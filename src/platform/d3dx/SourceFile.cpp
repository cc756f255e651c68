#include "SourceFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace velmora::d3dx {

std::string normalizePath(const char* fileName) {
    std::string path(fileName ? fileName : "");
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

bool stampOf(const std::string& path, FileStamp& stamp) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (path.empty() || !fs::is_regular_file(path, error)) return false;
    stamp.size = static_cast<int64_t>(fs::file_size(path, error));
    if (error) return false;
    fs::file_time_type modified = fs::last_write_time(path, error);
    stamp.modifiedNs = std::chrono::duration_cast<std::chrono::nanoseconds>(modified.time_since_epoch()).count();
    return !error;
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
