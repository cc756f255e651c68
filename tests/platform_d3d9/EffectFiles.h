// Effect files for tests: the game's Sample.fx, and small ones written to a temporary file.
#pragma once

#include <d3dx9.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

namespace d3d9test {

inline const char* sampleEffectPath() { return VELMORA_SAMPLE_FX; }

// A file that lives as long as the object.
class TemporaryEffectFile {
public:
    explicit TemporaryEffectFile(const std::string& text) {
        char name[] = "/tmp/velmora_effect_XXXXXX";
        const int fd = mkstemp(name);
        if (fd >= 0) close(fd);
        path_ = name;
        std::ofstream(path_) << text;
    }
    ~TemporaryEffectFile() { std::remove(path_.c_str()); }
    const char* path() const { return path_.c_str(); }

private:
    std::string path_;
};

inline std::string bufferText(ID3DXBuffer* buffer) {
    if (!buffer) return std::string();
    return std::string(static_cast<const char*>(buffer->GetBufferPointer()));
}

}  // namespace d3d9test
