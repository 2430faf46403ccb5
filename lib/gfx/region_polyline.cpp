// A thick polyline as a region: the union of capsules (a segment widened by
// a radius, with round ends), row by row, sampled at pixel centres.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "gfx/region.h"
#include "gfx/region_builder.h"

namespace gfx {

namespace {

constexpr Rect kWindow = Region::kRasterWindow;
// Points are pulled into twice the window first, so that every product below
// stays far from overflow; what lies beyond the window is clipped anyway.
constexpr double kCoordinateLimit = 2.0 * kWindow.right;
// A pen this wide covers the whole window from any such point.
constexpr double kRadiusLimit = 4 * kCoordinateLimit;

// An interval [lo, hi] of x on one row; empty while lo > hi.
struct Interval {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();

    bool IsEmpty() const { return lo > hi; }
    void Cover(const Interval& other) {
        if (other.IsEmpty()) return;
        lo = std::min(lo, other.lo);
        hi = std::max(hi, other.hi);
    }
    void Clip(const Interval& other) {
        lo = std::max(lo, other.lo);
        hi = std::min(hi, other.hi);
    }
};

// The x where slope * x + offset lies in [lo, hi].
Interval Solve(double slope, double offset, double lo, double hi) {
    if (slope == 0) {
        const bool always = offset >= lo && offset <= hi;
        return always ? Interval{-kCoordinateLimit, kCoordinateLimit} : Interval{};
    }
    const double a = (lo - offset) / slope;
    const double b = (hi - offset) / slope;
    return {std::min(a, b), std::max(a, b)};
}

Interval DiscOnRow(PointF centre, double radius, double yc) {
    const double dy = yc - centre.y;
    if (dy * dy > radius * radius) return {};
    const double half = std::sqrt(radius * radius - dy * dy);
    return {centre.x - half, centre.x + half};
}

// The capsule from a to b meets the row's centre line yc in one interval,
// since it is convex: the hull of what its two end discs and its straight
// body (the rectangle along the segment) cover there.
Interval CapsuleOnRow(PointF a, PointF b, double radius, double yc) {
    Interval row = DiscOnRow(a, radius, yc);
    row.Cover(DiscOnRow(b, radius, yc));
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0) return row;
    const double ux = (b.x - a.x) / length;
    const double uy = (b.y - a.y) / length;
    // Along the segment (0 to length) and across it (-radius to radius), for
    // x measured from a.x.
    const double along = (yc - a.y) * uy;
    const double across = (yc - a.y) * ux;
    Interval body = Solve(ux, along, 0, length);
    body.Clip(Solve(-uy, across, -radius, radius));
    body.lo += a.x;
    body.hi += a.x;
    row.Cover(body);
    return row;
}

int32_t ClampToWindow(double v, int32_t lo, int32_t hi) {
    return static_cast<int32_t>(std::clamp(v, static_cast<double>(lo), static_cast<double>(hi)));
}

PointF Pulled(PointF p) {
    return {std::clamp(p.x, -kCoordinateLimit, kCoordinateLimit),
            std::clamp(p.y, -kCoordinateLimit, kCoordinateLimit)};
}

}  // namespace

Region Region::ThickPolyline(std::span<const PointF> points, double width) {
    if (!(width > 0) || !std::isfinite(width)) return {};
    const double radius = std::min(width / 2, kRadiusLimit);
    std::vector<PointF> kept;
    for (const PointF& p : points) {
        if (std::isfinite(p.x) && std::isfinite(p.y)) kept.push_back(Pulled(p));
    }
    if (kept.empty()) return {};
    if (kept.size() == 1) kept.push_back(kept.front());

    // Each row's spans, from every segment that reaches it.
    double low = kept.front().y;
    double high = low;
    for (const PointF& p : kept) {
        low = std::min(low, p.y);
        high = std::max(high, p.y);
    }
    const int32_t top = ClampToWindow(std::ceil(low - radius - 0.5), kWindow.top, kWindow.bottom);
    const int32_t bottom =
        ClampToWindow(std::floor(high + radius - 0.5) + 1, kWindow.top, kWindow.bottom);
    if (top >= bottom) return {};
    std::vector<std::vector<Span>> rows(static_cast<size_t>(bottom - top));
    for (size_t k = 0; k + 1 < kept.size(); ++k) {
        const PointF a = kept[k];
        const PointF b = kept[k + 1];
        const int32_t first =
            ClampToWindow(std::ceil(std::min(a.y, b.y) - radius - 0.5), top, bottom);
        const int32_t end =
            ClampToWindow(std::floor(std::max(a.y, b.y) + radius - 0.5) + 1, top, bottom);
        for (int32_t y = first; y < end; ++y) {
            const Interval on_row = CapsuleOnRow(a, b, radius, y + 0.5);
            if (on_row.IsEmpty()) continue;
            // Pixel x is inside when x + 1/2 lies in the interval.
            const int32_t x1 =
                ClampToWindow(std::ceil(on_row.lo - 0.5), kWindow.left, kWindow.right);
            const int32_t x2 =
                ClampToWindow(std::floor(on_row.hi - 0.5) + 1, kWindow.left, kWindow.right);
            if (x1 < x2) rows[static_cast<size_t>(y - top)].push_back({x1, x2});
        }
    }

    RegionBuilder out;
    for (size_t k = 0; k < rows.size(); ++k) {
        std::vector<Span>& spans = rows[k];
        std::sort(spans.begin(), spans.end(),
                  [](const Span& a, const Span& b) { return a.x1 < b.x1; });
        const int32_t y = top + static_cast<int32_t>(k);
        out.BeginBand(y, y + 1);
        for (const Span& s : spans) out.AddSpan(s.x1, s.x2);
        out.EndBand();
    }
    return out.Finish();
}

}  // namespace gfx
