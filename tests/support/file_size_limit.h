// A limit on the size of the files this process writes, so that a write fails
// as it would on a full disk.
#pragma once

#include <cstdint>

namespace testsupport {

// In force from construction to the end of its scope. POSIX has such a limit
// (RLIMIT_FSIZE; the signal it raises is ignored, so the write just fails);
// Windows has none, and there Active() is false. A child process started
// meanwhile inherits the limit.
class FileSizeLimit {
public:
    explicit FileSizeLimit(uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    [[nodiscard]] bool Active() const { return active_; }

private:
    bool active_ = false;
    uint64_t saved_ = 0;
    void (*saved_handler_)(int) = nullptr;
};

}  // namespace testsupport
