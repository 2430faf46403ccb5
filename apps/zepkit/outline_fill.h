// Filling an outline on the canvas.
#pragma once

#include <vector>

#include "gfx/region.h"
#include "zepkit/stroke_data.h"

namespace zepkit {

// The canvas pixels whose centres the contours wind around (the nonzero
// rule), with the corners kept in double precision: two outlines that share
// an edge share it exactly, so touching strokes leave no gap between them
// and do not overlap along it. Pixels off the canvas are left out.
[[nodiscard]] gfx::Region FillOutline(const std::vector<Polyline>& contours);

}  // namespace zepkit
