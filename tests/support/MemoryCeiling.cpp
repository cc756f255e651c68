#include "MemoryCeiling.h"

#include <cstdio>
#include <fstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::test {

bool runsWithinMemory(std::size_t extraBytes, const std::function<void()>& work) {
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        size_t pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = pages * static_cast<size_t>(sysconf(_SC_PAGESIZE)) + extraBytes;
        if (pages == 0 || setrlimit(RLIMIT_AS, &limit) != 0) _exit(3);
        work();  // an allocation past the limit throws std::bad_alloc: the child aborts
        std::fflush(nullptr);
        _exit(0);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace velmora::test
