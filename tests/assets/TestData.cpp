#include "TestData.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>

namespace assettest {

std::string dataDir() { return VELMORA_DATA_DIR; }
std::string dataPath(const std::string& relative) { return dataDir() + "/" + relative; }

int runGenerator(const std::string& outputDir) {
    const std::string command = std::string("'") + ASSETGEN_EXE + "' '" + outputDir + "' 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<unsigned char> readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> listFiles(const std::string& dir) {
    std::vector<std::string> out;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
        if (entry.is_regular_file()) out.push_back(std::filesystem::relative(entry.path(), dir).string());
    std::sort(out.begin(), out.end());
    return out;
}

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

}  // namespace assettest
