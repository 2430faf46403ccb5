#include "practice/stroke_fit.h"

#include <algorithm>
#include <vector>

namespace practice {

namespace {

double KendallTau(const std::vector<double>& times) {
    double score = 0, pairs = 0;
    for (size_t i = 0; i < times.size(); ++i) {
        for (size_t j = i + 1; j < times.size(); ++j) {
            score += times[j] > times[i] ? 1 : times[j] < times[i] ? -1 : 0;
            ++pairs;
        }
    }
    return pairs > 0 ? score / pairs : 0;
}

}  // namespace

StrokeFit FitStroke(const StrokeModel& stroke, std::span<const Point> points) {
    StrokeFit fit;
    std::vector<double> times;
    times.reserve(points.size());
    for (const Point& p : points) {
        const NearestPixel n = FindNearest(stroke, p);
        fit.distance += n.distance;
        fit.farthest = std::max(fit.farthest, n.distance);
        times.push_back(n.time);
    }
    if (points.empty()) return fit;
    fit.distance /= static_cast<double>(points.size());
    const auto [low, high] = std::minmax_element(times.begin(), times.end());
    fit.coverage = *high - *low;
    fit.order = KendallTau(times);
    return fit;
}

}  // namespace practice
