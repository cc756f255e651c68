// A recorded play as a file, written as it is played: a header (format version, the game
// version that made it, the clock's first reading), then each frame's input (FrameCodec)
// after its length, then an end: a zero length, the number of frames and a checksum of
// everything before it. A file without its end (the game recording it was killed, the
// machine lost power) is cut: it plays up to its last whole frame. Format 1, the first
// files, had the frame count and the frames' size in the header and are read still.
// A file is checked whole, every frame decoded, before any of it is played: a damaged or
// foreign file is refused with its reason.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace velmora::win32 {

class ReplayFile {
public:
    static constexpr unsigned kFormatVersion = 2;
    static const char* currentGameVersion();

    std::string gameVersion = currentGameVersion();
    // Every clock reading is stored as a step from the one before, the first from this
    // one; the game seeds its random numbers from the clock, so this is the play's seed.
    DWORD clockStart = 0;
    // Input records: the first holds what the game read before its first frame.
    unsigned long frames = 0;
    // The frames one after another, without their lengths.
    std::vector<unsigned char> body;
    // Read from a file without its end.
    bool cut = false;

    // A whole file of the current format.
    std::vector<unsigned char> bytes() const;
    // Its parts, as a recording writes them while the play goes on.
    static std::vector<unsigned char> header(const std::string& gameVersion, DWORD clockStart);
    static void appendFrame(const std::vector<unsigned char>& frame, std::vector<unsigned char>& out);
    // The end of a file whose bytes so far have the checksum `sum` (see checksum).
    static void appendEnd(unsigned long frames, unsigned long long sum, std::vector<unsigned char>& out);
    static unsigned long long checksum(const unsigned char* data, size_t size, unsigned long long sum = kChecksumStart);
    static constexpr unsigned long long kChecksumStart = 14695981039346656037ull;

    static bool fromBytes(const std::vector<unsigned char>& bytes, ReplayFile& file, std::string& problem);
    bool save(const std::string& path, std::string& problem) const;
    static bool load(const std::string& path, ReplayFile& file, std::string& problem);
};

}  // namespace velmora::win32
