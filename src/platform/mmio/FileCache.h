// Keeps the contents of files that were read, so that the game loading the same sound
// again (every dragonfly loads the explosion) does not go back to the disk. An entry is
// used only while the file's size and modification time are unchanged; a file changed
// in the last seconds is not kept at all, because file times are too coarse to tell two
// quick writes apart.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace velmora::mmio {

using FileBytes = std::shared_ptr<const std::vector<char>>;

enum class FileError { None, NotFound, CannotOpen };

class FileCache {
public:
    static FileCache& instance();

    // The whole file, or null with the reason in `error`.
    FileBytes contents(const std::string& path, FileError& error);

private:
    struct Entry {
        std::string path;
        long long size;
        long long modifiedNs;
        FileBytes bytes;
    };

    void remember(Entry entry);

    std::vector<Entry> entries_;  // oldest first
    std::size_t cachedBytes_ = 0;
};

}  // namespace velmora::mmio
