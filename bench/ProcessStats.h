// What the kernel counts for this process: resident memory and bytes read.
#pragma once

#include <cstdint>

namespace bench {

// Resident set size now and at its peak, in bytes (0 when /proc cannot be read).
std::uint64_t residentBytes();
std::uint64_t peakResidentBytes();

// Bytes this process has had returned by read() and similar calls (/proc/self/io
// "rchar"), less what reading that counter itself costs.
std::uint64_t bytesRead();

}  // namespace bench
