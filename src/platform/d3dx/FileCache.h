// Decoded file contents shared between loads. An entry is kept per key (the file path, or
// the path plus the parameters of a derived result) with the stamp of the file it came
// from; a changed file is decoded again. A file that fails to decode is remembered as
// failing until it changes, so a broken asset is not parsed again at every load (a file
// that does not exist has no stamp and never gets this far).
#pragma once

#include "SourceFile.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

namespace velmora::d3dx {

template <class Content>
class FileCache {
public:
    // Returns the shared content (null for a file that does not decode), calling `decode`
    // only when the entry is missing or stale.
    std::shared_ptr<const Content> get(const std::string& key, const FileStamp& stamp,
                                       const std::function<std::shared_ptr<const Content>()>& decode) {
        auto found = entries_.find(key);
        if (found != entries_.end() && found->second.stamp == stamp) return found->second.content;
        std::shared_ptr<const Content> content = decode();
        entries_[key] = Entry{stamp, content};
        return content;
    }

    void clear() { entries_.clear(); }

private:
    struct Entry {
        FileStamp stamp;
        std::shared_ptr<const Content> content;
    };
    std::map<std::string, Entry> entries_;
};

}  // namespace velmora::d3dx
