// Replay files, which players pass to each other: read from a file as --replay reads them
// (the size checks first, then every frame decoded), and a file that is taken must come
// back byte for byte from what was read.
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
    if (!ReplayFile::load(input.write(data, size), file, problem)) {
        if (problem.empty()) std::abort();  // every refusal has its reason
        return 0;
    }
    if (file.bytes() != std::vector<unsigned char>(data, data + size)) std::abort();
    return 0;
}
