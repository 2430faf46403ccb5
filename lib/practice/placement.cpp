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

// Least squares over c - C = s (m - C) + t and the prior's s = s0, t = t0, each
// row weighted by its inverse variance: the normal equations in (s, tx, ty),
// whose matrix is also the inverse of the estimate's covariance.
struct NormalEquations {
    double m[3][3] = {};
    double rhs[3] = {};
};

NormalEquations Accumulate(std::span<const PointPair> pairs, const PlacementPrior& prior) {
    const double ws = 1 / (prior.scale_spread * prior.scale_spread);
    const double wt = 1 / (prior.shift_spread * prior.shift_spread);
    const Point t0 = CentreShift(prior.placement);
    NormalEquations n;
    n.m[0][0] = ws;
    n.m[1][1] = n.m[2][2] = wt;
    n.rhs[0] = ws * prior.placement.scale;
    n.rhs[1] = wt * t0.x;
    n.rhs[2] = wt * t0.y;
    for (const PointPair& p : pairs) {
        const double ax = p.model.x - kCentre, ay = p.model.y - kCentre;
        const double bx = p.canvas.x - kCentre, by = p.canvas.y - kCentre;
        n.m[0][0] += p.weight * (ax * ax + ay * ay);
        n.m[0][1] += p.weight * ax;
        n.m[0][2] += p.weight * ay;
        n.m[1][1] += p.weight;
        n.m[2][2] += p.weight;
        n.rhs[0] += p.weight * (ax * bx + ay * by);
        n.rhs[1] += p.weight * bx;
        n.rhs[2] += p.weight * by;
    }
    n.m[1][0] = n.m[0][1];
    n.m[2][0] = n.m[0][2];
    return n;
}

// The inverse of the (positive definite) normal matrix.
void Invert(const double m[3][3], double inverse[3][3]) {
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            // The cofactor of (c, r), from the rows and columns the others leave.
            const int r1 = (c + 1) % 3, r2 = (c + 2) % 3, c1 = (r + 1) % 3, c2 = (r + 2) % 3;
            inverse[r][c] = (m[r1][c1] * m[r2][c2] - m[r1][c2] * m[r2][c1]) / det;
        }
    }
}

}  // namespace

Placement FitPlacement(std::span<const PointPair> pairs, const PlacementPrior& prior) {
    const NormalEquations n = Accumulate(pairs, prior);
    double inverse[3][3];
    Invert(n.m, inverse);
    double x[3] = {};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) x[r] += inverse[r][c] * n.rhs[c];
    }
    const double s = std::clamp(x[0], kMinScale, kMaxScale);
    return {s, kCentre * (1 - s) + x[1], kCentre * (1 - s) + x[2]};
}

PlacementCovariance FitCovariance(std::span<const PointPair> pairs, const PlacementPrior& prior) {
    PlacementCovariance covariance;
    Invert(Accumulate(pairs, prior).m, covariance.m);
    return covariance;
}

double PlacementSpread(const PlacementCovariance& covariance, Point model) {
    const auto& cov = covariance.m;
    const double ax = model.x - kCentre, ay = model.y - kCentre;
    // Where the point lands is s a + t: its variance along x and along y.
    const double vx = ax * ax * cov[0][0] + 2 * ax * cov[0][1] + cov[1][1];
    const double vy = ay * ay * cov[0][0] + 2 * ay * cov[0][2] + cov[2][2];
    return std::sqrt(std::max((vx + vy) / 2, 0.0));
}

double PlacementCost(const Placement& placement, const PlacementPrior& prior) {
    const double ds = (placement.scale - prior.placement.scale) / prior.scale_spread;
    const Point t = CentreShift(placement), t0 = CentreShift(prior.placement);
    const double shift = std::hypot(t.x - t0.x, t.y - t0.y) / prior.shift_spread;
    return ds * ds + shift * shift;
}

}  // namespace practice
