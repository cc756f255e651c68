// Replay files, which players pass to each other: read from a file as --replay reads them
// (the size checks first, then every frame decoded), and a file that is taken must come
// back byte for byte from what was read; and the input as the frames of a file.
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
        // A whole file of this format comes back as it was; an older or a cut one is not rewritten.
        const bool rewritable = size > 8 && data[8] == ReplayFile::kFormatVersion && !file.cut;
        if (rewritable && file.bytes() != std::vector<unsigned char>(data, data + size)) std::abort();
    } else if (problem.empty()) {
        std::abort();  // every refusal has its reason
    }
    // The checksum turns nearly every mutation away before the frames: the same bytes
    // after a good header (a file cut where they end, with no checksum) reach the frame
    // decoder too.
    std::vector<unsigned char> built = ReplayFile::header(ReplayFile::currentGameVersion(), 0);
    built.insert(built.end(), data, data + size);
    problem.clear();
    if (!ReplayFile::fromBytes(built, file, problem) && problem.empty()) std::abort();
    return 0;
}
