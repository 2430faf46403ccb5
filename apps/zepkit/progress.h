// One line on a terminal's standard error that counts up, redrawn at most
// every tenth of a second: "zepkit: imported 12 of 2941 characters".
#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace zepkit {

class Progress {
public:
    // verb and things as in "imported ... characters".
    Progress(size_t total, std::string verb, std::string things);
    void Update(size_t done);

private:
    size_t total_;
    std::string verb_, things_;
    bool shown_;
    std::chrono::steady_clock::time_point last_{};
};

}  // namespace zepkit
