#include "sys/sleep.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

// The animation's timing rests on pauses that last at least what they ask.
TEST(SleepMilliseconds, PausesAtLeastTheTimeAskedAndNothingForNone) {
    const auto start = std::chrono::steady_clock::now();
    sys::SleepMilliseconds(0);
    sys::SleepMilliseconds(-500);
    sys::SleepMilliseconds(30);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(30));
}

}  // namespace
