// A recorded play as a file: a header (format version, the game version that made it,
// the clock's first reading and the number of frames), the frames' input (FrameCodec) and
// a checksum of everything before it. A file is checked whole, every frame decoded, before
// any of it is played: a damaged, cut or foreign file is refused with its reason.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velmora::win32 {

class ReplayFile {
public:
    static constexpr unsigned kFormatVersion = 1;
    static const char* currentGameVersion();

    std::string gameVersion = currentGameVersion();
    // Every clock reading is stored as a step from the one before, the first from this
    // one; the game seeds its random numbers from the clock, so this is the play's seed.
    DWORD clockStart = 0;
    // Input records: the first holds what the game read before its first frame.
    unsigned long frames = 0;
    std::vector<unsigned char> body;

    std::vector<unsigned char> bytes() const;
    static bool fromBytes(const std::vector<unsigned char>& bytes, ReplayFile& file, std::string& problem);
    // The whole file's size that a header (the first `size` bytes of a file) implies; 0
    // with the reason when they are not the start of a replay this game reads.
    static unsigned long long sizeFromHeader(const unsigned char* data, size_t size, std::string& problem);

    bool save(const std::string& path, std::string& problem) const;
    static bool load(const std::string& path, ReplayFile& file, std::string& problem);
};

}  // namespace velmora::win32
