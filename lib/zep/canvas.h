// The canvas a character is drawn on, and the most strokes it can have.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gfx/geometry.h"
#include "zep/region_format.h"

namespace player {

// The character is drawn on a square canvas at the window's top left corner.
inline constexpr int32_t kCanvasSide = rgn::kCanvasSide;
inline constexpr gfx::Rect kCanvas{0, 0, kCanvasSide, kCanvasSide};
inline constexpr size_t kMaxRegionFiles = rgn::kMaxRegionFiles;

}  // namespace player
