// A reader that allocates in proportion to a file's claim, or reads a file without end,
// dies in a child process whose address space may grow by only so much.
#pragma once

#include <cstddef>
#include <functional>

namespace velmora::test {

// True when `work` returned normally with at most `extraBytes` more address space.
bool runsWithinMemory(std::size_t extraBytes, const std::function<void()>& work);

}  // namespace velmora::test
