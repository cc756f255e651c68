#include "FuzzInputFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "velmora/D3DXCache.h"

namespace {

// The file is rewritten for every input: a folder in memory spares the disk.
std::filesystem::path scratchRoot() {
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

}  // namespace

FuzzInputFile::FuzzInputFile(const std::string& name) {
    std::string pattern = (scratchRoot() / "velmora-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::abort();
    }
    folder_ = pattern;
    path_ = folder_ + "/" + name;
}

FuzzInputFile::~FuzzInputFile() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

const char* FuzzInputFile::write(const uint8_t* data, size_t size) {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file || (size > 0 && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
        std::perror(path_.c_str());
        std::abort();
    }
    return path_.c_str();
}

const char* FuzzInputFile::writeForD3DX(const uint8_t* data, size_t size) {
    velmora::clearD3DXCaches();
    return write(data, size);
}
