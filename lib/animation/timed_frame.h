// A frame of the canvas and how long the canvas shows it: what an animation
// leaves behind for an export.
#pragma once

#include <cstdint>
#include <memory>

#include "gfx/bitmap.h"

namespace player {

struct TimedFrame {
    std::shared_ptr<const gfx::Bitmap> frame;
    int64_t shown_at = 0;  // ms since the animation started
    int64_t duration = 0;  // ms, until the next frame or the end
};

}  // namespace player
