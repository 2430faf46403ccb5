// A limit on how much more memory this process may map, so that an
// allocation fails as it would on a machine short of memory.
#pragma once

#include <cstdint>

namespace testsupport {

// In force from construction to the end of its scope: the address space may
// grow by `headroom` bytes beyond what is mapped now. POSIX (RLIMIT_AS, with
// the mapped size from /proc/self/statm) only; elsewhere Active() is false.
// Sanitizers reserve far more address space than they use: not under them.
class MemoryLimit {
public:
    explicit MemoryLimit(uint64_t headroom);
    ~MemoryLimit();
    MemoryLimit(const MemoryLimit&) = delete;
    MemoryLimit& operator=(const MemoryLimit&) = delete;

    [[nodiscard]] bool Active() const { return active_; }

private:
    bool active_ = false;
    uint64_t saved_ = 0;
};

}  // namespace testsupport
