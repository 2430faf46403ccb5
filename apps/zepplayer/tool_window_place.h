// Where a tool window opens beside the player's window, in screen pixels:
// to its right where the screen has room for it, else below it, and on the
// screen either way. Both shells place the look-up window by it.
#pragma once

#include <cstdint>

#include "gfx/geometry.h"

namespace player {

// dialog and screen (its work area) cover left <= x < right, top <= y < bottom.
[[nodiscard]] gfx::Point ToolWindowPlace(const gfx::Rect& dialog, int32_t width, int32_t height,
                                         const gfx::Rect& screen, int32_t gap);

}  // namespace player
