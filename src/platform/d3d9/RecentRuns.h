// The last few results worked out from a buffer's bytes (the spans of runs of indices),
// each with the run of the buffer it covers and the revision of the bytes it saw: meshes
// draw the same runs every frame, so most draws find theirs here.
#pragma once

#include <array>
#include <cstddef>

namespace velmora::d3d9 {

template <class Run, class Result, std::size_t Size = 8>
class RecentRuns {
public:
    const Result* find(const Run& run, unsigned revision) const {
        for (const Entry& entry : entries_)
            if (entry.revision == revision && entry.run == run) return &entry.result;
        return nullptr;
    }

    void keep(const Run& run, unsigned revision, const Result& result) {
        entries_[next_] = Entry{run, revision, result};
        next_ = (next_ + 1) % Size;
    }

private:
    struct Entry {
        Run run{};
        unsigned revision = 0;  // 0: empty (revisions start at 1)
        Result result{};
    };
    std::array<Entry, Size> entries_{};
    std::size_t next_ = 0;
};

}  // namespace velmora::d3d9
