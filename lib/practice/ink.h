// Drawn strokes: points in canvas pixels, and the few measures the judge
// takes of them.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace practice {

struct Point {  // canvas pixels, x right, y down
    double x = 0;
    double y = 0;
};
using Ink = std::vector<Point>;  // one drawn stroke, in drawing order

// Model -> learner's canvas: a point p of the model lands at p * scale + (dx, dy).
struct Placement {
    double scale = 1;
    double dx = 0;
    double dy = 0;
};

[[nodiscard]] Point Placed(const Placement& placement, Point model);
[[nodiscard]] Point Unplaced(const Placement& placement, Point canvas);

[[nodiscard]] double Distance(Point a, Point b);

// The ink without points that repeat the one before them, and without points
// that are not numbers or lie a million pixels or more away.
[[nodiscard]] Ink DistinctPoints(std::span<const Point> ink);

[[nodiscard]] double InkLength(std::span<const Point> ink);

// count points spread evenly along the ink by arc length, the first and last
// among them; the ink must have two distinct points.
[[nodiscard]] Ink Resampled(std::span<const Point> ink, size_t count);

}  // namespace practice
