// Replay files, which players pass to each other: read from a file as --replay reads them
// (the size checks first, then every frame decoded), and a file that is taken must come
// back byte for byte from what was read; and the input as the frames of a whole file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzInputFile.h"
#include "win32/ReplayFile.h"

using velmora::win32::ReplayFile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FuzzInputFile input("input.vrp");
    ReplayFile file;
    std::string problem;
    if (ReplayFile::load(input.write(data, size), file, problem)) {
        if (file.bytes() != std::vector<unsigned char>(data, data + size)) std::abort();
    } else if (problem.empty()) {
        std::abort();  // every refusal has its reason
    }
    // The checksum turns nearly every mutation away before the frames: the same bytes as
    // the body of a file with a good checksum reach the frame decoder too.
    ReplayFile built;
    built.frames = size > 0 ? data[0] : 0;
    if (size > 0) built.body.assign(data + 1, data + size);
    problem.clear();
    if (!ReplayFile::fromBytes(built.bytes(), file, problem) && problem.empty()) std::abort();
    return 0;
}
