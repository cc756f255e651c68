// Reading the files D3DX loads, and telling whether a file changed since it was read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::d3dx {

// Size and modification time of a regular file: a file whose stamp is unchanged still
// holds the bytes that were decoded from it.
struct FileStamp {
    int64_t size = 0;
    int64_t modifiedNs = 0;
    bool operator==(const FileStamp& other) const {
        return size == other.size && modifiedNs == other.modifiedNs;
    }
};

// The game names files Windows-style; backslashes are folder separators here as well.
std::string normalizePath(const char* fileName);

// False for a missing file, a folder or anything else that is not a readable regular file.
bool stampOf(const std::string& path, FileStamp& stamp);
bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes);

}  // namespace velmora::d3dx
