#include "practice/placement.h"

#include <algorithm>

namespace practice {

namespace {

constexpr double kPriorReach = 40;
// A learner's character is not drawn at a fifth of the model's size or five times it.
constexpr double kMinScale = 0.2;
constexpr double kMaxScale = 5;

}  // namespace

Placement FitPlacement(std::span<const PointPair> pairs, const Placement& prior, double weight) {
    if (pairs.empty()) return prior;
    Point model_mean, canvas_mean;
    for (const PointPair& p : pairs) {
        model_mean.x += p.model.x, model_mean.y += p.model.y;
        canvas_mean.x += p.canvas.x, canvas_mean.y += p.canvas.y;
    }
    const double n = static_cast<double>(pairs.size());
    model_mean = {model_mean.x / n, model_mean.y / n};
    canvas_mean = {canvas_mean.x / n, canvas_mean.y / n};
    double together = 0, spread = 0;
    for (const PointPair& p : pairs) {
        const double mx = p.model.x - model_mean.x, my = p.model.y - model_mean.y;
        together += mx * (p.canvas.x - canvas_mean.x) + my * (p.canvas.y - canvas_mean.y);
        spread += mx * mx + my * my;
    }
    const double pull = weight * kPriorReach * kPriorReach;
    Placement placement;
    placement.scale =
        std::clamp((together + pull * prior.scale) / (spread + pull), kMinScale, kMaxScale);
    placement.dx = canvas_mean.x - placement.scale * model_mean.x;
    placement.dy = canvas_mean.y - placement.scale * model_mean.y;
    return placement;
}

double MeanResidual(std::span<const PointPair> pairs, const Placement& placement) {
    if (pairs.empty()) return 0;
    double sum = 0;
    for (const PointPair& p : pairs) sum += Distance(Placed(placement, p.model), p.canvas);
    return sum / static_cast<double>(pairs.size()) / placement.scale;
}

}  // namespace practice
