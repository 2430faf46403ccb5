// Where the learner's character lies on the canvas: the shift and scale that
// carry the model's points best onto the points drawn for them, drawn towards
// a prior placement as far as the points leave it open.
#pragma once

#include <span>

#include "practice/ink.h"

namespace practice {

struct PointPair {
    Point model;
    Point canvas;
    double weight = 1;  // 1 / (the spread of the canvas point about where it belongs)^2
};

// How sure the placement is before any point: its spread in scale and in shift
// (pixels) about the prior's.
struct PlacementPrior {
    Placement placement;
    double scale_spread = 0.1;
    double shift_spread = 10;
};

// The most likely placement; scale and shift are taken about the canvas centre,
// so that a change of size does not move the character.
[[nodiscard]] Placement FitPlacement(std::span<const PointPair> pairs, const PlacementPrior& prior);

// How sure the fitted placement is: the covariance of its scale and shift.
struct PlacementCovariance {
    double m[3][3] = {};
};

[[nodiscard]] PlacementCovariance FitCovariance(std::span<const PointPair> pairs,
                                                const PlacementPrior& prior);

// How far (the spread, in canvas pixels along each axis) the fitted placement
// may be off in where it puts the model point.
[[nodiscard]] double PlacementSpread(const PlacementCovariance& covariance, Point model);

// How unlikely the placement is under the prior, in squared spreads.
[[nodiscard]] double PlacementCost(const Placement& placement, const PlacementPrior& prior);

}  // namespace practice
