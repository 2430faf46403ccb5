#include "support/memory_limit.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#endif

namespace testsupport {

#ifdef _WIN32

MemoryLimit::MemoryLimit(uint64_t) {}

MemoryLimit::~MemoryLimit() = default;

#else

MemoryLimit::MemoryLimit(uint64_t headroom) {
    std::ifstream statm("/proc/self/statm");
    uint64_t pages = 0;
    const long page_size = sysconf(_SC_PAGESIZE);
    rlimit limit{};
    if (!(statm >> pages) || page_size <= 0 || getrlimit(RLIMIT_AS, &limit) != 0) return;
    saved_ = limit.rlim_cur;
    limit.rlim_cur = pages * static_cast<uint64_t>(page_size) + headroom;
    active_ = setrlimit(RLIMIT_AS, &limit) == 0;
}

MemoryLimit::~MemoryLimit() {
    if (!active_) return;
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = saved_;
    setrlimit(RLIMIT_AS, &limit);
}

#endif

}  // namespace testsupport
