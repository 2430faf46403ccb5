#include "practice/ink.h"

#include <algorithm>
#include <cmath>

namespace practice {

namespace {

// No pointer reports a point this far off the canvas; such a point (or one
// that is not a number) would only overflow the measures.
constexpr double kFarthestPointer = 1e6;

}  // namespace

Point Placed(const Placement& placement, Point model) {
    return {model.x * placement.scale + placement.dx, model.y * placement.scale + placement.dy};
}

Point Unplaced(const Placement& placement, Point canvas) {
    return {(canvas.x - placement.dx) / placement.scale,
            (canvas.y - placement.dy) / placement.scale};
}

double Distance(Point a, Point b) { return std::hypot(a.x - b.x, a.y - b.y); }

Ink DistinctPoints(std::span<const Point> ink) {
    Ink distinct;
    for (const Point& p : ink) {
        if (!(std::abs(p.x) <= kFarthestPointer) || !(std::abs(p.y) <= kFarthestPointer)) continue;
        if (!distinct.empty() && distinct.back().x == p.x && distinct.back().y == p.y) continue;
        distinct.push_back(p);
    }
    return distinct;
}

double InkLength(std::span<const Point> ink) {
    double length = 0;
    for (size_t i = 1; i < ink.size(); ++i) length += Distance(ink[i - 1], ink[i]);
    return length;
}

Ink Resampled(std::span<const Point> ink, size_t count) {
    const double length = InkLength(ink);
    Ink points;
    points.reserve(count);
    size_t segment = 1;
    double before = 0;  // arc length up to the segment's start
    for (size_t k = 0; k < count; ++k) {
        const double at =
            count > 1 ? length * static_cast<double>(k) / static_cast<double>(count - 1) : 0;
        while (segment + 1 < ink.size() && before + Distance(ink[segment - 1], ink[segment]) < at) {
            before += Distance(ink[segment - 1], ink[segment]);
            ++segment;
        }
        const Point a = ink[segment - 1], b = ink[segment];
        const double piece = Distance(a, b);
        const double f = piece > 0 ? std::clamp((at - before) / piece, 0.0, 1.0) : 0.0;
        points.push_back({a.x + (b.x - a.x) * f, a.y + (b.y - a.y) * f});
    }
    return points;
}

}  // namespace practice
