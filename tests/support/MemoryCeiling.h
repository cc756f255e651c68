// Runs a piece of work in a child process whose address space may grow by only so much:
// a reader that allocates in proportion to a file's claim, or reads a file without end,
// dies there instead of taking the machine's memory.
#pragma once

#include <cstddef>
#include <functional>

namespace velmora::test {

// True when `work` returned normally with at most `extraBytes` more address space.
bool runsWithinMemory(std::size_t extraBytes, const std::function<void()>& work);

}  // namespace velmora::test
