// The judge's thresholds, in model pixels; each grows with the leniency.
#pragma once

namespace practice {

struct Tuning {
    // A stroke fits when the ink stays this near it on average and at worst...
    double trace_distance = 9;
    double trace_farthest = 24;
    double recall_distance = 12;
    double recall_farthest = 30;
    // ... and reaches this share of its reveal time.
    double coverage = 0.6;
    // A later stroke is taken instead of the expected one, both fitting, only
    // when its cost is at most this share of the expected one's.
    double clearly_better = 0.5;
    // Pixels of cost one unit of coverage missing is worth.
    double coverage_cost = 20;
    // Order (Kendall's tau) below which a fitting stroke is backwards.
    double backwards = -0.2;
    // In recall, how strongly the first stroke's size is held to the model's.
    double scale_prior = 2;
};

}  // namespace practice
