#include "FileCache.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <ctime>

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

bool isSettled(long long modifiedNs) {
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    long long nowNs = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
    return nowNs - modifiedNs > kSettledNs;
}

}  // namespace

FileCache& FileCache::instance() {
    static FileCache cache;
    return cache;
}

FileBytes FileCache::contents(const std::string& path, FileError& error) {
    error = FileError::None;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = errno == ENOENT || errno == ENOTDIR ? FileError::NotFound : FileError::CannotOpen;
        return nullptr;
    }
    // Positions in the mmio API are 32-bit signed offsets.
    if (!S_ISREG(info.st_mode) || info.st_size > INT32_MAX) {
        error = FileError::CannotOpen;
        return nullptr;
    }
    long long modifiedNs = static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    long long size = info.st_size;

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
