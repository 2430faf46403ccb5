// Where the learner's character lies on an empty canvas: the shift and scale
// that carry the model's points best onto the points drawn for them.
#pragma once

#include <span>

#include "practice/ink.h"

namespace practice {

struct PointPair {
    Point model;
    Point canvas;
};

// The least-squares placement of the pairs, its scale drawn towards the
// prior's as strongly as weight pairs lying kPriorReach from their centre
// would draw it; few or bunched pairs say little about size.
[[nodiscard]] Placement FitPlacement(std::span<const PointPair> pairs, const Placement& prior,
                                     double weight);

// The mean distance, in model pixels, between each pair's canvas point and
// where the placement puts its model point.
[[nodiscard]] double MeanResidual(std::span<const PointPair> pairs, const Placement& placement);

}  // namespace practice
