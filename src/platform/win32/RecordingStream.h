// A recording written while the play goes on (the layout is ReplayFile's): each frame is
// handed to the system as soon as it is complete, so that a game killed or a machine
// that lost power leaves every frame but the one in progress.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace velmora::win32 {

class RecordingStream {
public:
    RecordingStream() = default;
    RecordingStream(const RecordingStream&) = delete;
    RecordingStream& operator=(const RecordingStream&) = delete;
    // Closed without its end: the file stays, cut after its last frame.
    ~RecordingStream();

    // Creates (or empties) the file and writes its header; false with the system's reason.
    bool open(const std::string& path, DWORD clockStart, std::string& problem);
    void writeFrame(const std::vector<unsigned char>& frame);
    // The end, on the disk; false with the reason of the first write that failed.
    bool finish(unsigned long frames, std::string& problem);

private:
    void put(const std::vector<unsigned char>& bytes);

    std::FILE* file_ = nullptr;
    std::string path_;
    unsigned long long checksum_ = 0;
    int failure_ = 0;  // errno of the first write that failed
};

}  // namespace velmora::win32
