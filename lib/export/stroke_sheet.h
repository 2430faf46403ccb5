// The printable stroke-order sheet: the character built up stroke by stroke.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

#include "gfx/bitmap.h"
#include "gfx/region.h"
#include "zep/script.h"

namespace player {

inline constexpr int32_t kDefaultSheetColumns = 8;
// White around the grid, so that no printer crops it.
inline constexpr int32_t kSheetMargin = 32;
// The sheet's resolution: a cell and its grid line, 255 pixels, print 20 mm wide.
inline constexpr uint32_t kSheetPixelsPerMetre = 12'750;

// The shape of every stroke of the commands in writing order, read from the
// region files by the player's binding (the n-th command that is not a Wait
// takes file n); none where a file is missing or broken.
[[nodiscard]] std::vector<gfx::MaybeRegion> StrokeShapes(
    const std::vector<StrokeCommand>& commands, const std::vector<std::filesystem::path>& files);

// One canvas-sized cell per stroke, in writing order, left to right and
// wrapping after `columns` cells (below 1 counts as 1), framed by a gray
// grid inside a white margin. Cell n shows a dashed grey cross guide, strokes
// 0 to n - 1 in black, stroke n in red and the number n + 1 in black in its
// top left corner; a missing shape
// draws nothing, as in the player. Nothing when there are no strokes or the
// sheet would be too large for a bitmap.
[[nodiscard]] std::optional<gfx::Bitmap> DrawStrokeSheet(std::span<const gfx::MaybeRegion> strokes,
                                                         int32_t columns = kDefaultSheetColumns);

}  // namespace player
