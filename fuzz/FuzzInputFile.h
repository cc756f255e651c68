// The fuzz targets drive the game's own loaders, which read files by name: each input is
// written to one file in a private temporary folder, removed when the process ends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class FuzzInputFile {
public:
    // `name` is the file name inside the folder, e.g. "input.wav".
    explicit FuzzInputFile(const std::string& name);
    ~FuzzInputFile();
    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    // Replaces the file's content; returns its path.
    const char* write(const uint8_t* data, size_t size);
    // The same for the D3DX loaders, dropping what they cached: every input is a new file
    // to them, whatever its time stamp.
    const char* writeForD3DX(const uint8_t* data, size_t size);
    const char* path() const { return path_.c_str(); }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    std::string path_;
};
