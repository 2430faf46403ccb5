#include "zepkit/order_fidelity.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "animation/reveal_order.h"

namespace zepkit {

namespace {

// Counts of earlier values below and above a level, over a few levels.
class LevelCounter {
public:
    explicit LevelCounter(size_t levels) : tree_(levels + 1, 0) {}
    void Add(size_t level) {
        for (size_t i = level + 1; i < tree_.size(); i += i & (~i + 1)) ++tree_[i];
        ++total_;
    }
    // How many added levels are below level.
    [[nodiscard]] int64_t Below(size_t level) const {
        int64_t sum = 0;
        for (size_t i = level; i > 0; i -= i & (~i + 1)) sum += tree_[i];
        return sum;
    }
    [[nodiscard]] int64_t Total() const { return total_; }

private:
    std::vector<int64_t> tree_;
    int64_t total_ = 0;
};

int64_t Pairs(int64_t n) { return n * (n - 1) / 2; }

}  // namespace

PairCounts CountPairs(std::span<const double> x, std::span<const int32_t> y) {
    const size_t n = std::min(x.size(), y.size());
    PairCounts pairs;
    if (n < 2) return pairs;
    std::vector<size_t> order(n);
    std::iota(order.begin(), order.end(), size_t{0});
    if (!std::is_sorted(x.begin(), x.begin() + static_cast<ptrdiff_t>(n))) {
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return x[a] < x[b]; });
    }
    const auto [low, high] = std::minmax_element(y.begin(), y.begin() + static_cast<ptrdiff_t>(n));
    const auto level = [&, lowest = *low](size_t i) { return static_cast<size_t>(y[i] - lowest); };
    const size_t levels = static_cast<size_t>(*high - *low) + 1;

    LevelCounter seen(levels);
    std::vector<int64_t> per_level(levels, 0);
    std::vector<size_t> group_levels;
    for (size_t start = 0; start < n;) {
        size_t end = start;
        while (end < n && x[order[end]] == x[order[start]]) ++end;
        group_levels.clear();
        for (size_t k = start; k < end; ++k) {
            const size_t l = level(order[k]);
            const int64_t below = seen.Below(l);
            pairs.concordant += below;
            pairs.discordant += seen.Total() - below - per_level[l];
            group_levels.push_back(l);
        }
        for (const size_t l : group_levels) {
            seen.Add(l);
            ++per_level[l];
        }
        pairs.tied_x += Pairs(static_cast<int64_t>(end - start));
        if (end - start == 1) {
            start = end;
            continue;
        }
        std::sort(group_levels.begin(), group_levels.end());
        for (size_t a = 0; a < group_levels.size();) {
            size_t b = a;
            while (b < group_levels.size() && group_levels[b] == group_levels[a]) ++b;
            pairs.tied_both += Pairs(static_cast<int64_t>(b - a));
            a = b;
        }
        start = end;
    }
    for (const int64_t count : per_level) pairs.tied_y += Pairs(count);
    pairs.all = Pairs(static_cast<int64_t>(n));
    return pairs;
}

OrderMeasures MeasureOrder(const PairCounts& p) {
    if (p.tied_y == p.all && p.all > 0) return {0, 0, 0};
    if (p.tied_x == p.all) return {1, 1, 1};
    const double untied_x = static_cast<double>(p.all - p.tied_x);
    const double untied_y = static_cast<double>(p.all - p.tied_y);
    const double score = static_cast<double>(p.concordant - p.discordant);
    // At best every pair tied in neither is in order.
    const double untied_both = static_cast<double>(p.all - p.tied_x - p.tied_y + p.tied_both);
    return {score / std::sqrt(untied_x * untied_y), untied_both / std::sqrt(untied_x * untied_y),
            score / untied_y};
}

double KendallTauB(std::span<const double> x, std::span<const int32_t> y) {
    return MeasureOrder(CountPairs(x, y)).fidelity;
}

std::vector<double> PositionsAlong(const Polyline& line, std::span<const PointD> points) {
    std::vector<double> positions(points.size(), 0);
    if (line.size() < 2) return positions;
    const size_t segments = line.size() - 1;
    std::vector<double> lengths(segments);
    for (size_t s = 0; s < segments; ++s) {
        lengths[s] = std::hypot(line[s + 1].x - line[s].x, line[s + 1].y - line[s].y);
    }
    for (size_t i = 0; i < points.size(); ++i) {
        const PointD p = points[i];
        double best = std::numeric_limits<double>::infinity(), at = 0, length_before = 0;
        for (size_t s = 0; s < segments; ++s) {
            const PointD a = line[s], b = line[s + 1];
            const double dx = b.x - a.x, dy = b.y - a.y, length = lengths[s];
            double t = length > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / (length * length) : 0;
            // The line runs on past its first and last point.
            const double clamped =
                std::clamp(t, s == 0 ? -1e9 : 0.0, s + 1 == segments ? 1e9 : 1.0);
            const double ex = a.x + clamped * dx - p.x, ey = a.y + clamped * dy - p.y;
            const double squared = ex * ex + ey * ey;
            if (squared < best) {
                best = squared;
                at = length_before + clamped * length;
            }
            length_before += length;
        }
        positions[i] = at;
    }
    return positions;
}

std::vector<PointD> PixelCentres(const gfx::Region& region) {
    std::vector<PointD> centres;
    for (const gfx::Point& p : player::RegionPixels(region)) {
        centres.push_back({p.x + 0.5, p.y + 0.5});
    }
    return centres;
}

OrderMeasures OrderFidelity(const player::StrokeCommand& command, const gfx::Region& stroke,
                            const Polyline& median) {
    const std::vector<PointD> centres = PixelCentres(stroke);
    return MeasureOrder(
        CountPairs(PositionsAlong(median, centres), player::FirstPaintFrames(command, stroke)));
}

}  // namespace zepkit
