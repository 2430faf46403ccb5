#include "zepkit/order_fidelity.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "animation/engine_geometry.h"

namespace zepkit {

namespace {

using player::CommandKind;
using player::StrokeCommand;

// The engine's limit on how far a pivot sweep turns.
constexpr int64_t kMaxSweepDegrees = 720;

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

// The pixels painted by each frame's part, frame by frame.
struct FrameMap {
    gfx::Rect box;
    std::vector<int32_t> frame;  // -1 while unpainted

    explicit FrameMap(const gfx::Region& stroke)
        : box(stroke.Bounds()),
          frame(
              static_cast<size_t>(box.right - box.left) * static_cast<size_t>(box.bottom - box.top),
              -1) {}

    void Paint(const gfx::Region& part, int32_t number) {
        for (const gfx::Rect& r : part.Rects()) {
            for (int32_t y = r.top; y < r.bottom; ++y) {
                for (int32_t x = r.left; x < r.right; ++x) {
                    int32_t& f = At(x, y);
                    if (f < 0) f = number;
                }
            }
        }
    }
    int32_t& At(int32_t x, int32_t y) {
        return frame[static_cast<size_t>(y - box.top) * static_cast<size_t>(box.right - box.left) +
                     static_cast<size_t>(x - box.left)];
    }
};

// Whether part (the shape within the stroke) is empty, as the engine finds it.
bool PaintPart(FrameMap& map, const gfx::Region& shape, const gfx::Region& stroke, int32_t number) {
    const gfx::Region part = shape.Intersected(stroke);
    map.Paint(part, number);
    return part.IsEmpty();
}

void PaintLinear(FrameMap& map, int32_t angle, const gfx::Region& stroke) {
    int32_t number = 0;
    bool painting = false;
    for (int32_t t = player::kFirstBand; t < player::kBandLimit; t += player::kBandStep) {
        const gfx::Region band = gfx::Region::Polygon(player::BandCorners(angle, t));
        const bool empty = PaintPart(map, band, stroke, number);
        if (empty && painting) return;
        painting = painting || !empty;
        if (painting) ++number;
    }
}

int32_t CircleMisses(const StrokeCommand& c, const gfx::Region& stroke) {
    int32_t misses = 0;
    while (misses < player::kCircleCount &&
           gfx::Region::Ellipse(player::CircleBox(c.param3, c.param4, misses * player::kCircleStep))
               .Intersected(stroke)
               .IsEmpty()) {
        ++misses;
    }
    return misses;
}

void PaintPivot(FrameMap& map, const StrokeCommand& c, const gfx::Region& stroke) {
    const int64_t a1 = c.param1, a2 = c.param2;
    const int64_t d = a1 <= a2 ? 1 : -1;
    const int64_t step = player::AngularStep(CircleMisses(c, stroke));
    bool painted_yet = false;
    for (int64_t b0 = a1, number = 0;; b0 += d * step, ++number) {
        const int64_t b1 = b0 + d * step;
        const gfx::Region slice =
            gfx::Region::Polygon(player::SliceCorners(b0, b1, c.param3, c.param4));
        const bool empty = PaintPart(map, slice, stroke, static_cast<int32_t>(number));
        if (empty && painted_yet) return;
        painted_yet = painted_yet || !empty;
        if (d * b1 > d * a2 || d * (b1 - a1) > kMaxSweepDegrees) return;
    }
}

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
    for (const gfx::Rect& r : region.Rects()) {
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x) centres.push_back({x + 0.5, y + 0.5});
        }
    }
    return centres;
}

std::vector<int32_t> FirstPaintFrames(const StrokeCommand& command, const gfx::Region& stroke) {
    std::vector<int32_t> frames;
    if (stroke.IsEmpty()) return frames;
    FrameMap map(stroke);
    switch (command.kind) {
        case CommandKind::LinearSweep: PaintLinear(map, command.param1, stroke); break;
        case CommandKind::PivotSweep: PaintPivot(map, command, stroke); break;
        case CommandKind::Draw: map.Paint(stroke, 0); break;
        case CommandKind::Wait: break;
    }
    const int32_t last = *std::max_element(map.frame.begin(), map.frame.end());
    for (const PointD& c : PixelCentres(stroke)) {
        const int32_t f = map.At(static_cast<int32_t>(c.x), static_cast<int32_t>(c.y));
        frames.push_back(f < 0 ? last + 1 : f);
    }
    return frames;
}

OrderMeasures OrderFidelity(const StrokeCommand& command, const gfx::Region& stroke,
                            const Polyline& median) {
    const std::vector<PointD> centres = PixelCentres(stroke);
    return MeasureOrder(
        CountPairs(PositionsAlong(median, centres), FirstPaintFrames(command, stroke)));
}

}  // namespace zepkit
