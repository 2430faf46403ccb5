#include "practice/placement.h"

#include <algorithm>
#include <cmath>

#include "zep/canvas.h"

namespace practice {

namespace {

constexpr double kCentre = player::kCanvasSide / 2.0;
// A learner's character is not drawn at a fifth of the model's size or five times it.
constexpr double kMinScale = 0.2;
constexpr double kMaxScale = 5;

// The shift of the placement's image of the canvas centre.
Point CentreShift(const Placement& p) {
    return {kCentre * p.scale + p.dx - kCentre, kCentre * p.scale + p.dy - kCentre};
}

}  // namespace

// Least squares over c - C = s (m - C) + t and the prior's s = s0, t = t0, each
// row weighted by its inverse variance: three normal equations in s, tx, ty.
Placement FitPlacement(std::span<const PointPair> pairs, const PlacementPrior& prior) {
    const double ws = 1 / (prior.scale_spread * prior.scale_spread);
    const double wt = 1 / (prior.shift_spread * prior.shift_spread);
    const Point t0 = CentreShift(prior.placement);
    double aa = ws, ax = 0, ay = 0, w = wt, ab = ws * prior.placement.scale;
    double bx = wt * t0.x, by = wt * t0.y;
    for (const PointPair& p : pairs) {
        const double mx = p.model.x - kCentre, my = p.model.y - kCentre;
        const double cx = p.canvas.x - kCentre, cy = p.canvas.y - kCentre;
        aa += p.weight * (mx * mx + my * my);
        ax += p.weight * mx;
        ay += p.weight * my;
        w += p.weight;
        ab += p.weight * (mx * cx + my * cy);
        bx += p.weight * cx;
        by += p.weight * cy;
    }
    // Eliminate tx = (bx - ax s) / w and ty = (by - ay s) / w.
    const double s = std::clamp((ab - (ax * bx + ay * by) / w) / (aa - (ax * ax + ay * ay) / w),
                                kMinScale, kMaxScale);
    const double tx = (bx - ax * s) / w, ty = (by - ay * s) / w;
    return {s, kCentre * (1 - s) + tx, kCentre * (1 - s) + ty};
}

double PlacementCost(const Placement& placement, const PlacementPrior& prior) {
    const double ds = (placement.scale - prior.placement.scale) / prior.scale_spread;
    const Point t = CentreShift(placement), t0 = CentreShift(prior.placement);
    const double shift = std::hypot(t.x - t0.x, t.y - t0.y) / prior.shift_spread;
    return ds * ds + shift * shift;
}

}  // namespace practice
