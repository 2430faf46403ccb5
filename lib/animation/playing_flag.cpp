#include "animation/playing_flag.h"

namespace player {

PlayingFlag& PlayingFlag::operator=(int32_t value) {
    {
        // Under the lock, so a pause cannot test the flag, miss the change and
        // then wait for a wake-up that has already gone by.
        const std::lock_guard lock(mutex_);
        value_ = value;
    }
    if (value == 0) stopped_.notify_all();
    return *this;
}

bool PlayingFlag::Pause(std::chrono::nanoseconds duration) const {
    std::unique_lock lock(mutex_);
    return !stopped_.wait_for(lock, duration, [this] { return value_.load() == 0; });
}

}  // namespace player
