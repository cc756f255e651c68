// Writing a setting changed in the game back into the player's settings file. Only the
// lines of that setting change (their comments kept); comments, order, blank lines and
// lines the game does not know stay as they are, and a setting the file lacks is added
// at its end. The new file is written beside the old one and renamed over it, so that a
// crash or a full disk leaves the old file or the new one, never half of one. Two games
// saving at once take turns, each with a new file of its own. A link is followed and its
// target rewritten; a file the player made read-only, or that is not a regular file, is
// left alone; only lines the reader takes are written.
#pragma once

#include <filesystem>
#include <string>

namespace velmora {

class SettingsFile {
public:
    explicit SettingsFile(std::string path) : path_(std::move(path)) {}

    // False with the reason (the file's path and the system's word) when it cannot be
    // written; the file is then untouched.
    bool write(const std::string& name, const std::string& value, std::string& problem) const;

private:
    bool writeLocked(const std::filesystem::path& path, const std::string& name, const std::string& value,
                     std::string& problem) const;

    std::string path_;
};

}  // namespace velmora
