// How well a drawing matches a character's strokes, stroke by stroke, in
// writing order: both are brought to one size and place (their centre and
// spread), each stroke to the same number of points along it, and the drawn
// strokes are paired with the character's in order, or, at a price, in any
// order, so that a character written in another order is still found.
#pragma once

#include <array>
#include <span>
#include <vector>

#include "lookup/stroke_index.h"
#include "practice/ink.h"

namespace lookup {

inline constexpr size_t kShapePoints = 10;

struct ShapeStroke {
    std::array<practice::Point, kShapePoints> points;  // in writing order
    bool direction_judged = true;
};
// Strokes laid around their centre, their spread a quarter: a character
// fits in about a unit square.
using Shape = std::vector<ShapeStroke>;

// The drawn strokes without repeated points, those with fewer than two
// distinct points left out: what the look-up reads of a drawing.
[[nodiscard]] std::vector<practice::Ink> KeptStrokes(std::span<const practice::Ink> strokes);

// Drawn strokes as KeptStrokes keeps them.
[[nodiscard]] Shape DrawingShape(std::span<const practice::Ink> strokes);
[[nodiscard]] Shape CharacterShape(const std::vector<IndexedStroke>& strokes);

struct MatchWeights {
    double skip = 0.35;        // a stroke that is drawn but not in the character, or missing
    double other_order = 0.03;  // the price of pairing the strokes in any order
};

// The mean distance of paired strokes' points, in those units, with skips:
// 0 for a drawing that is the character itself; lower is better.
[[nodiscard]] double MatchCost(const Shape& drawing, const Shape& character,
                               const MatchWeights& weights = {});

}  // namespace lookup
