#include "MemoryCeiling.h"

#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::test {

namespace {

size_t addressSpaceInUse() {
    unsigned long pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm) {
        if (std::fscanf(statm, "%lu", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    return pages * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

}  // namespace

bool runsWithinMemory(std::size_t extraBytes, const std::function<void()>& work) {
    std::fflush(nullptr);
    pid_t child = fork();
    if (child == 0) {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = addressSpaceInUse() + extraBytes;
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(3);
        work();  // an allocation past the limit throws std::bad_alloc: the child aborts
        std::fflush(nullptr);
        _exit(0);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace velmora::test
