// The flag that lets an animation go on: 1 while it may, 0 once it should
// stop. Its pauses end the moment it turns 0, so whoever stops an animation
// and waits for its thread waits at most for the frame being drawn.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace player {

class PlayingFlag {
public:
    PlayingFlag() = default;
    explicit PlayingFlag(int32_t value) : value_(value) {}
    PlayingFlag(const PlayingFlag&) = delete;
    PlayingFlag& operator=(const PlayingFlag&) = delete;

    [[nodiscard]] int32_t load() const { return value_.load(); }
    // Setting 0 wakes every pause at once.
    PlayingFlag& operator=(int32_t value);

    // Pauses the calling thread for duration, or until the flag is 0 if that
    // comes first (at once when it is 0 already). True when the whole
    // duration passed.
    bool Pause(std::chrono::nanoseconds duration) const;

private:
    std::atomic<int32_t> value_{0};
    mutable std::mutex mutex_;
    mutable std::condition_variable stopped_;
};

}  // namespace player
