// The look-up's measured weights, in one place so that the benchmark can try others.
#pragma once

#include <cstddef>

#include "lookup/stroke_match.h"

namespace lookup {

struct Tuning {
    MatchWeights match;
    size_t model_guesses = 50;  // asked of the handwriting model; none: it is not asked
    // Characters of the set with this many strokes more or fewer than the
    // drawing are compared too, whether the model proposed them or not.
    size_t stroke_count_window = 1;
    double model_weight = 0.02;  // a model score's worth in match cost
    // Whether the model sees the drawing fitted to its box (else as drawn).
    bool fit_for_model = true;
};

}  // namespace lookup
