// Order fidelity: how far a sweep reveals a stroke in its writing direction.
//
// Each pixel of the stroke has a position along the stroke's centre-line
// (the arc length at the nearest point of the line, which runs on straight
// past both of its ends) and the frame in which the animation first paints
// it. The fidelity is Kendall's tau-b between the two: 1 when the pixels are
// revealed exactly in writing order, -1 when exactly against it. A pixel the
// sweep never paints counts as revealed after its last frame.
//
// Pixels painted in the same frame tie, and tau-b counts no tied pair as in
// order: a sweep that reveals a stroke in ten even frames, each in perfect
// order, scores about 0.95. Two more measures tell the ties from the order:
// the ceiling, the highest tau-b any order could reach with the same ties,
// and the order between frames, which leaves the pairs of one frame out
// (Somers' d of position on frame; tau-b is the geometric mean of the two
// Somers' d, and the other one is the ties' share).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gfx/region.h"
#include "zep/script.h"
#include "zepkit/stroke_data.h"

namespace zepkit {

// How the pairs (x[i], y[i]), i < j, compare.
struct PairCounts {
    int64_t all = 0;
    int64_t concordant = 0;
    int64_t discordant = 0;
    int64_t tied_x = 0;     // including those tied in both
    int64_t tied_y = 0;     // including those tied in both
    int64_t tied_both = 0;
};

[[nodiscard]] PairCounts CountPairs(std::span<const double> x, std::span<const int32_t> y);

// When every y is the same (a stroke shown in a single frame) each measure
// is 0; when every x is the same, or there are fewer than two pairs, there
// is no order to keep and each is 1.
struct OrderMeasures {
    double fidelity = 0;        // tau-b
    double ceiling = 0;         // the highest tau-b with these ties
    double between_frames = 0;  // (concordant - discordant) / pairs not tied in y
};

[[nodiscard]] OrderMeasures MeasureOrder(const PairCounts& pairs);

// Tau-b of the pairs (x[i], y[i]).
[[nodiscard]] double KendallTauB(std::span<const double> x, std::span<const int32_t> y);

// The position along the line of each point.
[[nodiscard]] std::vector<double> PositionsAlong(const Polyline& line,
                                                 std::span<const PointD> points);

// The centres of the region's pixels, in the order of player::FirstPaintFrames.
[[nodiscard]] std::vector<PointD> PixelCentres(const gfx::Region& region);

[[nodiscard]] OrderMeasures OrderFidelity(const player::StrokeCommand& command,
                                          const gfx::Region& stroke, const Polyline& median);

}  // namespace zepkit
