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
    std::thread pauser([&] { whole = playing.Pause(60s); });
    std::this_thread::sleep_for(5ms);
    playing = 0;
    pauser.join();
    EXPECT_FALSE(whole);
    EXPECT_FALSE(playing.Pause(60s));  // already cleared: no pause at all
}

}  // namespace
}  // namespace player
