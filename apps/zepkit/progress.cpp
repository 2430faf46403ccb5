#include "zepkit/progress.h"

#include <cstdio>

#include "sys/console.h"

namespace zepkit {

Progress::Progress(size_t total, std::string verb, std::string things)
    : total_(total),
      verb_(std::move(verb)),
      things_(std::move(things)),
      shown_(sys::ErrorOutputIsTerminal()) {}

void Progress::Update(size_t done) {
    if (!shown_) return;
    const auto now = std::chrono::steady_clock::now();
    if (done < total_ && now - last_ < std::chrono::milliseconds(100)) return;
    last_ = now;
    std::fprintf(stderr, "\rzepkit: %s %zu of %zu %s", verb_.c_str(), done, total_,
                 things_.c_str());
    if (done == total_) std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace zepkit
