// A private copy of the game's run directory (data/ and Shader/) in a temporary folder,
// in which single files can be damaged and put back.
#pragma once

#include <string>
#include <vector>

namespace robustness {

enum class Damage { Removed, TruncatedToHalf, FilledWithGarbage };

const char* damageName(Damage damage);

class RunDirCopy {
public:
    // Copies data/ and Shader/ from `runDir`.
    explicit RunDirCopy(const std::string& runDir);
    ~RunDirCopy();
    RunDirCopy(const RunDirCopy&) = delete;
    RunDirCopy& operator=(const RunDirCopy&) = delete;

    const std::string& path() const { return path_; }

    // Damages the file at `relative`. Every damaged or restored file is written anew,
    // so that no cache keyed on size and modification time hands out the old bytes.
    void damage(const std::string& relative, Damage damage) const;
    void restore(const std::string& relative) const;

private:
    std::string source_;
    std::string path_;
};

// Every file the game reads from its run directory: data/** and Shader/Sample.fx,
// relative to `runDir`, in sorted order.
std::vector<std::string> gameFiles(const std::string& runDir);

}  // namespace robustness
