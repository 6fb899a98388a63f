#pragma once
// Work done under a limit on memory, in a child process, so that a fault shows as a failed child
// instead of a machine filled up. The limit is on address space (RLIMIT_AS): what a child may map
// beyond what the test process already has. Skipped under AddressSanitizer, whose shadow memory
// alone is far beyond any such limit.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>

// The address space this process has mapped now, in bytes.
inline long long MappedBytes()
{
    long long pages = 0;
    std::ifstream("/proc/self/statm") >> pages;
    return pages * sysconf(_SC_PAGESIZE);
}

// True when `work` returns true in a child that may map at most `extraBytes` more than this
// process has now; false when it returns false, runs out of memory (std::bad_alloc ends it) or
// dies otherwise.
inline bool SucceedsWithin(long long extraBytes, const std::function<bool()>& work)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const auto bytes = static_cast<rlim_t>(MappedBytes() + extraBytes);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_AS, &limit);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
