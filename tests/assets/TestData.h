// Where the generated data lies and small file helpers for the data tests.
#pragma once

#include <string>
#include <vector>

namespace assettest {

// The data folder the build generated into the game's working directory.
std::string dataDir();
std::string dataPath(const std::string& relative);

// Runs the generator into outputDir; returns its exit status.
int runGenerator(const std::string& outputDir);

std::vector<unsigned char> readBytes(const std::string& path);
// Paths of all regular files below dir, relative to it, sorted.
std::vector<std::string> listFiles(const std::string& dir);

bool isPowerOfTwo(int n);

}  // namespace assettest
