// The order in which the engine's sweep reveals the pixels of a stroke.
//
// Pixels come in the region's own order (row by row, left to right). A
// pixel's frame is the frame of the command's animation, counted from the
// command's first, in which the engine first paints it, with its own bands,
// slices and circles; a pixel the sweep never paints counts as revealed after
// the last frame. Its reveal time adds where it lies inside that frame's band
// or slice, from 0 at the edge the sweep comes from to just below 1 at the
// other, so that its whole part is the frame.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/geometry.h"
#include "gfx/region.h"
#include "zep/script.h"

namespace player {

[[nodiscard]] std::vector<gfx::Point> RegionPixels(const gfx::Region& region);

[[nodiscard]] std::vector<int32_t> FirstPaintFrames(const StrokeCommand& command,
                                                    const gfx::Region& stroke);

// frame + position inside it: for a Draw every pixel's time is 0.
[[nodiscard]] std::vector<double> RevealTimes(const StrokeCommand& command,
                                              const gfx::Region& stroke);

}  // namespace player
