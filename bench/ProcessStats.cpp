#include "ProcessStats.h"

#include <cstdio>
#include <cstring>

namespace bench {

namespace {

// The number after `key` in a /proc file of "key value" lines, 0 when absent.
std::uint64_t procValue(const char* path, const char* key) {
    std::FILE* file = std::fopen(path, "r");
    if (!file) return 0;
    char line[256];
    std::uint64_t value = 0;
    const std::size_t keyLength = std::strlen(key);
    while (std::fgets(line, sizeof line, file)) {
        if (std::strncmp(line, key, keyLength) == 0) {
            unsigned long long parsed = 0;
            if (std::sscanf(line + keyLength, "%llu", &parsed) == 1) value = parsed;
            break;
        }
    }
    std::fclose(file);
    return value;
}

std::uint64_t rawBytesRead() { return procValue("/proc/self/io", "rchar:"); }

// What one rawBytesRead() adds to the counter it reads.
std::uint64_t readingCost() {
    static const std::uint64_t cost = [] {
        const std::uint64_t first = rawBytesRead();
        const std::uint64_t second = rawBytesRead();
        return second - first;
    }();
    return cost;
}

}  // namespace

std::uint64_t residentBytes() { return procValue("/proc/self/status", "VmRSS:") * 1024; }

std::uint64_t peakResidentBytes() { return procValue("/proc/self/status", "VmHWM:") * 1024; }

std::uint64_t bytesRead() {
    static std::uint64_t readsSoFar = 0;
    const std::uint64_t cost = readingCost();
    const std::uint64_t raw = rawBytesRead();
    ++readsSoFar;
    return raw - readsSoFar * cost;
}

}  // namespace bench
