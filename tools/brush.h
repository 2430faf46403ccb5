// The pixels a round brush covers as it follows a stroke's centre-line.
//
// The brush is stamped as a disc at steps of at most an eighth of a pixel
// (a quarter on straight lines); a pixel belongs to the stroke when its centre
// lies inside some disc, edge included. A point X,Y of the description is the
// centre of pixel (X, Y). Everything is integer arithmetic in sixteenths of a
// pixel, so the same description gives the same pixels on every machine.
#pragma once

#include "gfx/region.h"
#include "stroke_outline.h"
#include "zep/region_format.h"

namespace tools {

// The side of the square canvas the pixels are kept on; the rest is cut off.
inline constexpr int32_t kCanvasSide = rgn::kCanvasSide;

gfx::Region BrushStroke(const StrokeOutline& stroke);

}  // namespace tools
