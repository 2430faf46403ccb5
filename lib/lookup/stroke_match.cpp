#include "lookup/stroke_match.h"

#include <algorithm>
#include <cmath>

namespace lookup {

namespace {

using practice::Point;

// The strokes resampled and laid around their centre (the mean of their
// points), scaled so that their spread (the root mean square distance from
// it) is a quarter. Unlike the box around them, neither moves much when one
// stroke reaches out further than the writer's others.
Shape Normalised(const std::vector<std::vector<Point>>& strokes, const std::vector<bool>& directed) {
    Shape shape(strokes.size());
    Point centre;
    for (size_t s = 0; s < strokes.size(); ++s) {
        const std::vector<Point>& stroke = strokes[s];
        const practice::Ink even = stroke.size() > 1 && practice::InkLength(stroke) > 0
                                       ? practice::Resampled(stroke, kShapePoints)
                                       : practice::Ink(kShapePoints, stroke.front());
        std::copy(even.begin(), even.end(), shape[s].points.begin());
        for (const Point& p : even) centre.x += p.x, centre.y += p.y;
        shape[s].direction_judged = directed[s];
    }
    const double count = static_cast<double>(strokes.size() * kShapePoints);
    centre = {centre.x / count, centre.y / count};
    double squares = 0;
    for (const ShapeStroke& stroke : shape) {
        for (const Point& p : stroke.points) {
            squares += (p.x - centre.x) * (p.x - centre.x) + (p.y - centre.y) * (p.y - centre.y);
        }
    }
    // A single dot still has a size: a pixel.
    const double unit = std::max(4 * std::sqrt(squares / count), 1.0);
    for (ShapeStroke& stroke : shape) {
        for (Point& p : stroke.points) p = {(p.x - centre.x) / unit, (p.y - centre.y) / unit};
    }
    return shape;
}

double MeanDistance(const ShapeStroke& a, const ShapeStroke& b, bool reversed) {
    double sum = 0;
    for (size_t k = 0; k < kShapePoints; ++k) {
        // sqrt, not hypot: this is the look-up's inner loop, and the values are small.
        const Point& q = b.points[reversed ? kShapePoints - 1 - k : k];
        const double dx = a.points[k].x - q.x, dy = a.points[k].y - q.y;
        sum += std::sqrt(dx * dx + dy * dy);
    }
    return sum / kShapePoints;
}

double StrokeDistance(const ShapeStroke& drawn, const ShapeStroke& stroke) {
    const double forward = MeanDistance(drawn, stroke, false);
    return stroke.direction_judged ? forward : std::min(forward, MeanDistance(drawn, stroke, true));
}

// Drawn strokes paired with the character's in order, skipping on either side.
double InOrderCost(const std::vector<double>& d, size_t m, size_t n, double skip) {
    std::vector<double> row(n + 1), next(n + 1);
    for (size_t j = 0; j <= n; ++j) row[j] = static_cast<double>(j) * skip;
    for (size_t i = 1; i <= m; ++i) {
        next[0] = static_cast<double>(i) * skip;
        for (size_t j = 1; j <= n; ++j) {
            next[j] = std::min({row[j - 1] + d[(i - 1) * n + (j - 1)], row[j] + skip,
                                next[j - 1] + skip});
        }
        std::swap(row, next);
    }
    return row[n];
}

// Drawn strokes paired with the character's in any order, closest pairs first.
double AnyOrderCost(const std::vector<double>& d, size_t m, size_t n, double skip) {
    std::vector<size_t> pairs(m * n);
    for (size_t k = 0; k < pairs.size(); ++k) pairs[k] = k;
    std::sort(pairs.begin(), pairs.end(), [&](size_t a, size_t b) { return d[a] < d[b]; });
    std::vector<bool> drawn_used(m), stroke_used(n);
    double cost = 0;
    size_t paired = 0;
    for (size_t k : pairs) {
        const size_t i = k / n, j = k % n;
        if (drawn_used[i] || stroke_used[j] || d[k] >= 2 * skip) continue;
        drawn_used[i] = stroke_used[j] = true;
        cost += d[k];
        ++paired;
    }
    return cost + static_cast<double>(m + n - 2 * paired) * skip;
}

}  // namespace

std::vector<practice::Ink> KeptStrokes(std::span<const practice::Ink> strokes) {
    std::vector<practice::Ink> kept;
    for (const practice::Ink& ink : strokes) {
        practice::Ink distinct = practice::DistinctPoints(ink);
        if (distinct.size() >= 2) kept.push_back(std::move(distinct));
    }
    return kept;
}

Shape DrawingShape(std::span<const practice::Ink> strokes) {
    const std::vector<practice::Ink> kept = KeptStrokes(strokes);
    return kept.empty() ? Shape{} : Normalised(kept, std::vector<bool>(kept.size(), true));
}

Shape CharacterShape(const std::vector<IndexedStroke>& strokes) {
    std::vector<std::vector<Point>> paths;
    std::vector<bool> directed;
    for (const IndexedStroke& stroke : strokes) {
        if (stroke.path.empty()) continue;
        std::vector<Point> path = stroke.path;
        // The path runs through the centres of slices of the stroke: half a
        // slice short of either end, which a drawn stroke reaches.
        if (path.size() >= 2) {
            const size_t last = path.size() - 1;
            path.front() = {1.5 * path[0].x - 0.5 * path[1].x, 1.5 * path[0].y - 0.5 * path[1].y};
            path.back() = {1.5 * path[last].x - 0.5 * path[last - 1].x,
                           1.5 * path[last].y - 0.5 * path[last - 1].y};
        }
        paths.push_back(std::move(path));
        directed.push_back(stroke.direction_judged);
    }
    return paths.empty() ? Shape{} : Normalised(paths, directed);
}

double MatchCost(const Shape& drawing, const Shape& character, const MatchWeights& weights) {
    const size_t m = drawing.size(), n = character.size();
    if (m == 0 || n == 0) return static_cast<double>(std::max(m, n)) * weights.skip;
    std::vector<double> d(m * n);
    for (size_t i = 0; i < m; ++i) {
        for (size_t j = 0; j < n; ++j) d[i * n + j] = StrokeDistance(drawing[i], character[j]);
    }
    const double in_order = InOrderCost(d, m, n, weights.skip);
    const double any_order = AnyOrderCost(d, m, n, weights.skip);
    const double pairs = static_cast<double>(std::max(m, n));
    return std::min(in_order, any_order + weights.other_order * pairs) / pairs;
}

}  // namespace lookup
