#include "sys/sleep.h"

#include <chrono>
#include <thread>

namespace sys {

void SleepMilliseconds(int32_t ms) {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace sys
