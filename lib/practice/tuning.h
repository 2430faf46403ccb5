// The judge's thresholds and spreads, in model pixels, as measured on
// human-like writing (see docs/practice.md); the thresholds grow with the
// leniency.
#pragma once

namespace practice {

struct Tuning {
    // A stroke fits when, placed with the learner's character, it lies at most
    // offset from the ink as a whole, and the ink moved onto it stays this
    // near it on average and at worst...
    double offset = 24;
    double distance = 7;
    double farthest = 20;
    // ... and reaches this share of its reveal time.
    double coverage = 0.6;
    // A later stroke is taken instead of a fitting expected one only when its
    // cost is at most this share of the expected one's.
    double clearly_better = 0.35;
    // Order (Kendall's tau of drawing order and reveal time) below which a
    // fitting stroke is backwards.
    double backwards = -0.2;
    // Where a learner's character lies before its first stroke: about the model
    // when tracing, anywhere on an empty canvas (spreads of scale and shift).
    double trace_scale_spread = 0.12;
    double trace_shift_spread = 12;
    double recall_scale_spread = 0.35;
    double recall_shift_spread = 80;
    // How far a stroke's points stray from where the placement puts them, and
    // how many independent points a stroke's ink is worth in placing.
    double point_spread = 8;
    double points_per_stroke = 3;
};

}  // namespace practice
