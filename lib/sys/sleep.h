// Pauses of the calling thread.
#pragma once

#include <cstdint>

namespace sys {

// Suspends the calling thread for ms milliseconds; nothing for ms <= 0.
void SleepMilliseconds(int32_t ms);

}  // namespace sys
