// The outline of a region's pixels as closed paths along the pixels' edges,
// so that a vector picture (the worksheet PDF) fills exactly those pixels.
#pragma once

#include <vector>

#include "gfx/geometry.h"
#include "gfx/region.h"

namespace player {

// Corners in pixel coordinates, the last joined back to the first.
using Contour = std::vector<gfx::Point>;

// The region's pixels inside the window as contours that all turn the same
// way (the pixels on their right, y pointing down): filled by the nonzero
// or the even-odd rule, they cover those pixels and nothing else. Corners
// only where the outline turns.
[[nodiscard]] std::vector<Contour> PixelOutline(const gfx::Region& region,
                                                const gfx::Rect& window);

}  // namespace player
