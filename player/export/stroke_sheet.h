// The printable stroke-order sheet: the character built up stroke by stroke.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "gfx/bitmap.h"
#include "gfx/region.h"

namespace player {

inline constexpr int32_t kDefaultSheetColumns = 8;

// One canvas-sized cell per stroke, in writing order, left to right and
// wrapping after `columns` cells (below 1 counts as 1), framed by a gray
// grid. Cell n shows a light cross guide, strokes 0 to n - 1 in black, stroke
// n in red and the number n + 1 in its top left corner; a missing shape
// draws nothing, as in the player. Nothing when there are no strokes or the
// sheet would be too large for a bitmap.
[[nodiscard]] std::optional<gfx::Bitmap> DrawStrokeSheet(std::span<const gfx::MaybeRegion> strokes,
                                                         int32_t columns = kDefaultSheetColumns);

}  // namespace player
