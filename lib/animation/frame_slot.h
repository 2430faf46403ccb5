// Handing finished frames from the animation's thread to the painting.
#pragma once

#include <memory>
#include <mutex>

#include "gfx/bitmap.h"

namespace player {

// The slot that carries the animation's current frame to the painting: the
// animation publishes a bitmap it will not write again, a repaint takes the
// last one published.
class FrameSlot {
public:
    void Publish(std::shared_ptr<const gfx::Bitmap> frame) {
        const std::lock_guard lock(mutex_);
        frame_.swap(frame);
    }
    void Clear() { Publish(nullptr); }
    std::shared_ptr<const gfx::Bitmap> Current() const {
        const std::lock_guard lock(mutex_);
        return frame_;
    }

private:
    mutable std::mutex mutex_;
    std::shared_ptr<const gfx::Bitmap> frame_;
};

}  // namespace player
