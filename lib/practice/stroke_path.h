// A stroke's pixels in the order the engine reveals them, and the path that
// runs through them in writing order: what a judge or a recogniser compares a
// drawn stroke with.
#pragma once

#include <cstddef>
#include <vector>

#include "gfx/region.h"
#include "practice/ink.h"
#include "zep/script.h"

namespace practice {

struct RevealedStroke {
    bool direction_judged = true;  // false for a Draw: it has no sweep
    std::vector<Point> pixels;     // pixel centres, in the region's own order
    // Per pixel, the share of the stroke revealed before it, from 0 to 1. A
    // Draw's pixels take their place along the stroke's long axis instead.
    std::vector<double> times;
};

[[nodiscard]] RevealedStroke RevealStroke(const player::StrokeCommand& command,
                                          const gfx::Region& region);

// The centres of `slices` equal slices of reveal time, in order; a slice that
// no pixel falls in gives no point.
[[nodiscard]] std::vector<Point> RevealPath(const RevealedStroke& stroke, size_t slices);

}  // namespace practice
