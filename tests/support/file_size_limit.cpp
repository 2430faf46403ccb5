#include "support/file_size_limit.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace testsupport {

#ifdef _WIN32

FileSizeLimit::FileSizeLimit(uint64_t) {}

FileSizeLimit::~FileSizeLimit() = default;

#else

FileSizeLimit::FileSizeLimit(uint64_t bytes) {
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0) return;
    saved_ = limit.rlim_cur;
    saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    if (!active_) std::signal(SIGXFSZ, saved_handler_);
}

FileSizeLimit::~FileSizeLimit() {
    if (!active_) return;
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = saved_;
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, saved_handler_);
}

#endif

}  // namespace testsupport
