// Counts every call of the global operator new in this program, so that a benchmark can
// show that a frame of the game allocates nothing.
#pragma once

#include <cstdint>

namespace bench {

// Allocations through operator new since the program started.
std::uint64_t allocationCount();

}  // namespace bench
