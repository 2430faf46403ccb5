// The judge's thresholds and spreads, in model pixels, as measured on
// human-like writing (see docs/practice.md); the thresholds grow with the
// leniency.
#pragma once

namespace practice {

struct Tuning {
    // A stroke fits when, placed with the learner's character, it lies at most
    // offset from the ink as a whole, and the ink moved onto it stays this
    // near it on average and at worst...
    double offset = 34;
    double distance = 7;
    double farthest = 24;
    // ... and reaches this share of its reveal time.
    double coverage = 0.4;
    // The sum of the four measures' squares, each as a share of its bound, at
    // most this: a stroke near every bound at once is not the one meant.
    double misfit = 1.2;
    // A later stroke is taken instead of a fitting expected one only when its
    // cost is at most this share of the expected one's.
    double clearly_better = 0.35;
    // Order (Kendall's tau of drawing order and reveal time) below which a
    // fitting stroke is backwards.
    double backwards = -0.2;
    // How much farther than the bounds a stroke written backwards may stray.
    double reversed_leeway = 1.3;
    // Where a learner's character lies before its first stroke (spreads of scale
    // and shift about the model's): over the model when tracing, roughly
    // filling an empty canvas in recall.
    double trace_scale_spread = 0.12;
    double trace_shift_spread = 12;
    double recall_scale_spread = 0.2;
    double recall_shift_spread = 35;
    // The most unlikely placement (in squared spreads) a first stroke in recall may give.
    double unlikely_placement = 2.5;
    // How far a stroke's points stray from where the placement puts them, and
    // how many independent points a stroke's ink is worth in placing.
    double point_spread = 8;
    double points_per_stroke = 1;
    // How many spreads of the placement's own uncertainty a stroke's offset
    // may add to the offset allowed.
    double placement_margin = 2;
};

}  // namespace practice
