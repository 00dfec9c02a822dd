#pragma once

#include "platform/FileBytes.h"

#include <sys/resource.h>
#include <unistd.h>

#include <string>

// From here on the process's address space may grow by `bytes` only. Counted
// from the present size, so that the sanitizers' reservations still fit.
inline void LimitAddressSpaceGrowth(rlim_t bytes)
{
    std::string pages;
    ReadFileBytes("/proc/self/statm", 4096, pages);
    const rlimit limit{std::stoul(pages) * sysconf(_SC_PAGESIZE) + bytes, RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &limit);
}

// From here on the process may use `seconds` of processor time; past them it is killed.
inline void LimitProcessorTime(rlim_t seconds)
{
    const rlimit limit{seconds, seconds};
    setrlimit(RLIMIT_CPU, &limit);
}
