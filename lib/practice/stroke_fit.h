// How well drawn points fit one stroke of the model, in the model's pixels.
#pragma once

#include <span>

#include "practice/character_model.h"
#include "practice/ink.h"

namespace practice {

struct StrokeFit {
    double distance = 0;  // mean distance of the points from the stroke
    double farthest = 0;  // the largest of those distances
    double coverage = 0;  // the span of reveal time the points reach, 0 to 1
    // Kendall's tau between the order of the points and their reveal times:
    // near 1 written in the sweep's direction, near -1 against it.
    double order = 0;
};

// points: the ink resampled evenly along its length, in model pixels.
[[nodiscard]] StrokeFit FitStroke(const StrokeModel& stroke, std::span<const Point> points);

}  // namespace practice
