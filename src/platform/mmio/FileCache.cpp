#include "FileCache.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace velmora::mmio {

namespace {

constexpr std::size_t kBudgetBytes = 64u << 20;
constexpr long long kSettledNs = 2000000000LL;

FileBytes readWholeFile(const std::string& path, long long size, FileError& error) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = errno == ENOENT ? FileError::NotFound : FileError::CannotOpen;
        return nullptr;
    }
    auto bytes = std::make_shared<std::vector<char>>(static_cast<std::size_t>(size));
    std::size_t got = bytes->empty() ? 0 : std::fread(bytes->data(), 1, bytes->size(), file);
    std::fclose(file);
    if (got != bytes->size()) {
        error = FileError::CannotOpen;
        return nullptr;
    }
    return bytes;
}

namespace fs = std::filesystem;

long long nanosecondsOf(fs::file_time_type time) {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
}

// Both times on the file system's clock.
bool isSettled(long long modifiedNs) {
    return nanosecondsOf(fs::file_time_type::clock::now()) - modifiedNs > kSettledNs;
}

}  // namespace

FileCache& FileCache::instance() {
    static FileCache cache;
    return cache;
}

FileBytes FileCache::contents(const std::string& path, FileError& error) {
    error = FileError::None;
    std::error_code failure;
    fs::file_status status = fs::status(path, failure);
    if (status.type() == fs::file_type::not_found) {
        error = FileError::NotFound;
        return nullptr;
    }
    long long size = failure ? 0 : static_cast<long long>(fs::file_size(path, failure));
    long long modifiedNs = failure ? 0 : nanosecondsOf(fs::last_write_time(path, failure));
    // Positions in the mmio API are 32-bit signed offsets.
    if (failure || !fs::is_regular_file(status) || size > INT32_MAX) {
        error = FileError::CannotOpen;
        return nullptr;
    }

    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [&](const Entry& entry) { return entry.path == path; });
    if (found != entries_.end()) {
        if (found->size == size && found->modifiedNs == modifiedNs) return found->bytes;
        cachedBytes_ -= found->bytes->size();
        entries_.erase(found);
    }

    FileBytes bytes = readWholeFile(path, size, error);
    if (bytes && isSettled(modifiedNs)) remember({path, size, modifiedNs, bytes});
    return bytes;
}

void FileCache::remember(Entry entry) {
    if (entry.bytes->size() > kBudgetBytes) return;
    while (cachedBytes_ + entry.bytes->size() > kBudgetBytes) {
        cachedBytes_ -= entries_.front().bytes->size();
        entries_.erase(entries_.begin());
    }
    cachedBytes_ += entry.bytes->size();
    entries_.push_back(std::move(entry));
}

}  // namespace velmora::mmio
