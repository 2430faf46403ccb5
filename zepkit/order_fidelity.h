// Order fidelity: how far a sweep reveals a stroke in its writing direction.
//
// Each pixel of the stroke has a position along the stroke's centre-line
// (the arc length at the nearest point of the line, which runs on straight
// past both of its ends) and the frame in which the animation first paints
// it. The fidelity is Kendall's tau-b between the two: 1 when the pixels are
// revealed exactly in writing order, -1 when exactly against it. A pixel the
// sweep never paints counts as revealed after its last frame.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/region.h"
#include "player/script.h"
#include "stroke_data.h"

namespace zepkit {

// Tau-b of the pairs (x[i], y[i]). When every y is the same (a stroke shown
// in a single frame) it is 0; when every x is the same, or there are fewer
// than two pairs, there is no order to keep and it is 1.
[[nodiscard]] double KendallTauB(std::span<const double> x, std::span<const int32_t> y);

// The position along the line of each point.
[[nodiscard]] std::vector<double> PositionsAlong(const Polyline& line,
                                                 std::span<const PointD> points);

// The centres of the region's pixels, row by row.
[[nodiscard]] std::vector<PointD> PixelCentres(const gfx::Region& region);

// The frame of the command's animation in which each pixel of the stroke,
// in the order of PixelCentres, is first painted, with the engine's own
// bands, slices and circles. Frames are counted from the command's first.
[[nodiscard]] std::vector<int32_t> FirstPaintFrames(const player::StrokeCommand& command,
                                                    const gfx::Region& stroke);

[[nodiscard]] double OrderFidelity(const player::StrokeCommand& command, const gfx::Region& stroke,
                                   const Polyline& median);

}  // namespace zepkit
