#include "animation/playing_flag.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace player {
namespace {

using namespace std::chrono_literals;

TEST(PlayingFlagTest, APauseLastsUntilTheFlagIsCleared) {
    PlayingFlag playing(1);
    EXPECT_TRUE(playing.Pause(1ms));
    bool whole = true;
    std::chrono::steady_clock::time_point woken;
    std::thread pauser([&] {
        whole = playing.Pause(60s);
        woken = std::chrono::steady_clock::now();
    });
    std::this_thread::sleep_for(5ms);
    const auto stopped = std::chrono::steady_clock::now();
    playing = 0;
    pauser.join();
    EXPECT_FALSE(whole);
    // The stop wakes the pause; it does not wait out its 60 s.
    EXPECT_LT(woken - stopped, 1s);
    EXPECT_FALSE(playing.Pause(60s));  // already cleared: no pause at all
}

}  // namespace
}  // namespace player
