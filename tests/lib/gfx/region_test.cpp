// Regions against a brute-force pixel model: every shape is also computed
// pixel by pixel in a window and the two must agree exactly.
#include "gfx/region.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace gfx {
namespace {

__extension__ typedef __int128 int128;
__extension__ typedef unsigned __int128 uint128;

// The pixels of a window, row by row.
struct Grid {
    Rect window;
    std::vector<bool> in;
    friend bool operator==(const Grid&, const Grid&) = default;
};

template <class Inside>
Grid Model(const Rect& window, Inside inside) {
    Grid g{window, {}};
    for (int32_t y = window.top; y < window.bottom; ++y) {
        for (int32_t x = window.left; x < window.right; ++x) g.in.push_back(inside(x, y));
    }
    return g;
}

// Painted from Rects(), so that it does not rest on Contains.
Grid Sample(const Region& region, const Rect& window) {
    Grid g{window, std::vector<bool>(static_cast<size_t>(window.right - window.left) *
                                     static_cast<size_t>(window.bottom - window.top))};
    for (const Rect& r : region.Rects()) {
        for (int32_t y = std::max(r.top, window.top); y < std::min(r.bottom, window.bottom); ++y) {
            for (int32_t x = std::max(r.left, window.left); x < std::min(r.right, window.right); ++x) {
                g.in[static_cast<size_t>((y - window.top) * (window.right - window.left) +
                                         (x - window.left))] = true;
            }
        }
    }
    return g;
}

// The canonical form of region.h, checked from the outside.
void ExpectCanonical(const Region& r) {
    auto bands = r.bands();
    auto spans = r.spans();
    uint32_t next = 0;
    for (size_t i = 0; i < bands.size(); ++i) {
        const Region::Band& b = bands[i];
        ASSERT_LT(b.top, b.bottom);
        ASSERT_GT(b.span_count, 0u);
        ASSERT_EQ(b.first_span, next);
        next += b.span_count;
        for (uint32_t k = 0; k < b.span_count; ++k) {
            ASSERT_LT(spans[b.first_span + k].x1, spans[b.first_span + k].x2);
            if (k > 0) {
                ASSERT_LT(spans[b.first_span + k - 1].x2, spans[b.first_span + k].x1);
            }
        }
        if (i == 0) continue;
        const Region::Band& p = bands[i - 1];
        ASSERT_LE(p.bottom, b.top);
        bool same = p.span_count == b.span_count &&
                    std::equal(spans.begin() + p.first_span, spans.begin() + p.first_span + p.span_count,
                               spans.begin() + b.first_span);
        ASSERT_FALSE(p.bottom == b.top && same) << "unmerged bands at y=" << b.top;
    }
    ASSERT_EQ(next, spans.size());
}

bool InRects(const std::vector<Rect>& rects, int32_t x, int32_t y) {
    return std::any_of(rects.begin(), rects.end(), [&](const Rect& r) { return r.Contains(x, y); });
}

// Even-odd at the pixel centre: an edge counts when its crossing c of the
// line y + 1/2 satisfies c <= x + 1/2 (the left edge of a run is inside).
bool InPolygon(const std::vector<Point>& p, int32_t x, int32_t y) {
    bool inside = false;
    for (size_t k = 0; k < p.size(); ++k) {
        Point a = p[k];
        Point b = p[(k + 1) % p.size()];
        if (a.y > b.y) std::swap(a, b);
        if (!(a.y <= y && y < b.y)) continue;
        int128 d = int128{b.y} - a.y;
        int128 dx = int128{b.x} - a.x;
        if (2 * int128{a.x} * d + (2 * int128{y} + 1 - 2 * int128{a.y}) * dx <= (2 * int128{x} + 1) * d) {
            inside = !inside;
        }
    }
    return inside;
}

// Strictly inside the inscribed ellipse, with doubled coordinates:
// (X h)^2 + (Y w)^2 < (w h)^2, in 128 bits.
bool InEllipse(const Rect& box, int32_t x, int32_t y) {
    if (box.IsEmpty()) return false;
    int128 w = int128{box.right} - box.left;
    int128 h = int128{box.bottom} - box.top;
    int128 cx = 2 * int128{x} + 1 - box.left - box.right;
    int128 cy = 2 * int128{y} + 1 - box.top - box.bottom;
    if (cx >= w || -cx >= w || cy >= h || -cy >= h) return false;
    auto xw = static_cast<uint128>(cx < 0 ? -cx : cx) * static_cast<uint128>(h);
    auto yh = static_cast<uint128>(cy < 0 ? -cy : cy) * static_cast<uint128>(w);
    auto wh = static_cast<uint128>(w) * static_cast<uint128>(h);
    // xw^2 < wh^2 - yh^2, both sides below 2^128 for 32-bit boxes.
    return xw * xw < (wh - yh) * (wh + yh);
}

class Random {
public:
    explicit Random(uint32_t seed) : rng_(seed) {}
    int32_t In(int64_t lo, int64_t hi) {
        return static_cast<int32_t>(std::uniform_int_distribution<int64_t>(lo, hi)(rng_));
    }
    Rect SmallRect(int32_t extent) {
        int32_t l = In(-2, extent);
        int32_t t = In(-2, extent);
        return {l, t, l + In(-1, 9), t + In(-1, 9)};
    }
    std::vector<Rect> Rects(int32_t extent) {
        std::vector<Rect> rs(static_cast<size_t>(In(0, 7)));
        for (Rect& r : rs) r = SmallRect(extent);
        return rs;
    }

private:
    std::mt19937 rng_;
};

constexpr Rect kSmall{-4, -4, 30, 30};

TEST(Region, UnionAndIntersectionMatchThePixelModel) {
    Random rnd(1);
    for (int i = 0; i < 1500; ++i) {
        auto ra = rnd.Rects(24);
        auto rb = rnd.Rects(24);
        Region a = Region::FromRects(ra);
        Region b = Region::FromRects(rb);
        Region u = a.United(b);
        Region n = a.Intersected(b);
        ASSERT_EQ(Sample(a, kSmall), Model(kSmall, [&](int x, int y) { return InRects(ra, x, y); }));
        ASSERT_EQ(Sample(u, kSmall),
                  Model(kSmall, [&](int x, int y) { return InRects(ra, x, y) || InRects(rb, x, y); }));
        ASSERT_EQ(Sample(n, kSmall),
                  Model(kSmall, [&](int x, int y) { return InRects(ra, x, y) && InRects(rb, x, y); }));
        ExpectCanonical(u);
        ExpectCanonical(n);
        // Canonical form: the same pixels, built another way, compare equal.
        ASSERT_EQ(u, b.United(a));
        ASSERT_EQ(n, b.Intersected(a));
        Region added;
        for (const Rect& r : ra) added.AddRect(r);
        ASSERT_EQ(added, a);
        for (int32_t y = kSmall.top; y < kSmall.bottom; ++y) {
            for (int32_t x = kSmall.left; x < kSmall.right; ++x) {
                ASSERT_EQ(u.Contains(x, y), InRects(ra, x, y) || InRects(rb, x, y));
            }
        }
    }
}

TEST(Region, NamedMerges) {
    struct Case {
        const char* name;
        std::vector<Rect> rects;
        std::vector<Rect> expected;  // Rects() of the result
    };
    const Case cases[] = {
        {"adjacent x-rects", {{0, 0, 5, 5}, {5, 0, 9, 5}}, {{0, 0, 9, 5}}},
        {"adjacent y-rects", {{0, 0, 5, 5}, {0, 5, 5, 9}}, {{0, 0, 5, 9}}},
        {"gap of one stays", {{0, 0, 5, 1}, {6, 0, 9, 1}}, {{0, 0, 5, 1}, {6, 0, 9, 1}}},
        {"double merge",
         {{0, 0, 2, 2}, {4, 0, 6, 2}, {0, 2, 6, 4}, {2, 0, 4, 2}},
         {{0, 0, 6, 4}}},
        {"overlap splits bands", {{0, 0, 4, 4}, {2, 2, 6, 6}},
         {{0, 0, 4, 2}, {0, 2, 6, 4}, {2, 4, 6, 6}}},
        {"empty rects add nothing", {{3, 3, 3, 9}, {5, 5, 1, 1}}, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Region::FromRects(c.rects).Rects(), c.expected) << c.name;
        Region shuffled = Region::FromRects(std::vector<Rect>(c.rects.rbegin(), c.rects.rend()));
        EXPECT_EQ(shuffled.Rects(), c.expected) << c.name << " (reversed)";
    }
}

TEST(Region, HalfOpenEdgesAndBounds) {
    Region r = Region::FromRect({0, 0, 100, 100});
    EXPECT_TRUE(r.Contains(99, 99));
    EXPECT_FALSE(r.Contains(100, 99));
    EXPECT_FALSE(r.Contains(99, 100));
    EXPECT_FALSE(r.Contains(-1, 0));
    r.Unite(Region::FromRect({200, -50, 201, -49}));
    EXPECT_EQ(r.Bounds(), (Rect{0, -50, 201, 100}));
    EXPECT_EQ(Region().Bounds(), Rect{});
    // Extreme coordinates are kept exactly.
    Rect huge{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
    EXPECT_EQ(Region::FromRect(huge).Bounds(), huge);
    EXPECT_TRUE(Region::FromRect(huge).Contains(INT32_MIN, INT32_MAX - 1));
}

TEST(Region, TracingRowByRowEqualsTheGeneralUnion) {
    Random rnd(6);
    const Rect window{0, 0, 40, 40};
    for (int i = 0; i < 60; ++i) {
        // Sparse to dense, so that rows repeat, merge with the row above and
        // split off again as pixels arrive.
        int32_t density = rnd.In(1, 9);
        std::vector<bool> black(40 * 40);
        for (size_t k = 0; k < black.size(); ++k) black[k] = rnd.In(0, 9) < density;
        auto at = [&](int32_t x, int32_t y) { return bool(black[static_cast<size_t>(y * 40 + x)]); };
        Region traced;
        MaybeRegion combined = Region();
        Region by_columns;  // not in append order: every pixel goes through the walker
        for (int32_t y = 0; y < 40; ++y) {
            for (int32_t x = 0; x < 40; ++x) {
                if (!at(x, y)) continue;
                traced.AddRect({x, y, x + 1, y + 1});
                MaybeRegion px = Region::FromRect({x, y, x + 1, y + 1});
                ASSERT_NE(CombineRegions(combined, combined, px, CombineMode::Or), RegionKind::Error);
            }
        }
        for (int32_t x = 0; x < 40; ++x) {
            for (int32_t y = 0; y < 40; ++y) {
                if (at(x, y)) by_columns.Unite(Region::FromRect({x, y, x + 1, y + 1}));
            }
        }
        ExpectCanonical(traced);
        ASSERT_EQ(Sample(traced, window), Model(window, at));
        ASSERT_EQ(traced, *combined);
        ASSERT_EQ(by_columns, traced);
    }
    // The whole canvas as a checkerboard: the largest region a tracer makes.
    const Rect canvas{0, 0, 254, 254};
    auto checker = [](int32_t x, int32_t y) { return (x + y) % 2 == 0; };
    Region traced;
    for (int32_t y = 0; y < 254; ++y) {
        for (int32_t x = 0; x < 254; ++x) {
            if (checker(x, y)) traced.AddRect({x, y, x + 1, y + 1});
        }
    }
    ExpectCanonical(traced);
    EXPECT_EQ(Sample(traced, canvas), Model(canvas, checker));
    EXPECT_EQ(traced.spans().size(), 127u * 254);
}

TEST(Region, CombineReportsErrorForAMissingRegion) {
    const MaybeRegion none;
    const MaybeRegion box = Region::FromRect({0, 0, 4, 4});
    for (CombineMode mode : {CombineMode::Or, CombineMode::And}) {
        MaybeRegion dest = Region::FromRect({1, 1, 2, 2});
        EXPECT_EQ(CombineRegions(dest, box, none, mode), RegionKind::Error);
        EXPECT_EQ(CombineRegions(dest, none, box, mode), RegionKind::Error);
        EXPECT_EQ(dest, MaybeRegion(Region::FromRect({1, 1, 2, 2}))) << "dest untouched";
        MaybeRegion no_dest;
        EXPECT_EQ(CombineRegions(no_dest, box, box, mode), RegionKind::Error);
        EXPECT_FALSE(no_dest.has_value());
    }
    MaybeRegion dest = Region();
    const MaybeRegion far = Region::FromRect({10, 10, 12, 12});
    const MaybeRegion empty = Region();
    EXPECT_EQ(CombineRegions(dest, box, far, CombineMode::And), RegionKind::Null);
    EXPECT_EQ(CombineRegions(dest, empty, empty, CombineMode::Or), RegionKind::Null);
    EXPECT_EQ(CombineRegions(dest, box, empty, CombineMode::Or), RegionKind::Simple);
    EXPECT_EQ(CombineRegions(dest, box, far, CombineMode::Or), RegionKind::Complex);
    // dest as an operand.
    EXPECT_EQ(CombineRegions(dest, dest, box, CombineMode::And), RegionKind::Simple);
    EXPECT_EQ(*dest, *box);
    EXPECT_EQ(CombineRegions(dest, far, dest, CombineMode::Or), RegionKind::Complex);
    EXPECT_EQ(CombineRegions(dest, dest, dest, CombineMode::And), RegionKind::Complex);
    EXPECT_EQ(*dest, box->United(*far));
}

std::vector<Point> RandomPolygon(Random& rnd, int64_t lo, int64_t hi) {
    std::vector<Point> p(static_cast<size_t>(rnd.In(3, 8)));
    for (Point& c : p) c = {rnd.In(lo, hi), rnd.In(lo, hi)};
    return p;
}

TEST(Region, PolygonMatchesTheEvenOddModel) {
    Random rnd(2);
    for (int i = 0; i < 3000; ++i) {
        auto p = RandomPolygon(rnd, -3, 28);
        Region r = Region::Polygon(p);
        ExpectCanonical(r);
        ASSERT_EQ(Sample(r, kSmall), Model(kSmall, [&](int x, int y) { return InPolygon(p, x, y); }))
            << "polygon " << i;
    }
}

TEST(Region, PolygonsFarOutsideAreExactInsideTheWindowAndClippedToIt) {
    Random rnd(3);
    const Rect w = Region::kRasterWindow;
    const Rect probes[] = {{-20, -20, 280, 280}, {w.left, w.top, w.left + 40, w.top + 40},
                           {w.right - 40, w.bottom - 40, w.right, w.bottom}};
    for (int i = 0; i < 60; ++i) {
        // Corners from hundreds of pixels out (sweep shapes) to the 32-bit limits.
        int64_t reach = i % 3 == 0 ? 600 : INT32_MAX;
        auto p = RandomPolygon(rnd, -reach, reach);
        Region r = Region::Polygon(p);
        ExpectCanonical(r);
        if (!r.IsEmpty()) {
            Rect b = r.Bounds();
            ASSERT_TRUE(b.left >= w.left && b.top >= w.top && b.right <= w.right && b.bottom <= w.bottom);
        }
        for (const Rect& probe : probes) {
            ASSERT_EQ(Sample(r, probe), Model(probe, [&](int x, int y) { return InPolygon(p, x, y); }))
                << "polygon " << i;
        }
    }
    Point everything[] = {{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MIN}, {INT32_MAX, INT32_MAX},
                          {INT32_MIN, INT32_MAX}};
    EXPECT_EQ(Region::Polygon(everything), Region::FromRect(w));
    EXPECT_TRUE(Region::Polygon(std::span<const Point>()).IsEmpty());
}

TEST(Region, SweepBandCorners) {
    // The band at angle 0, t = -179, of the stroke animation: x from -52 to
    // -32 across the canvas and beyond.
    Point band[] = {{-52, -52}, {-52, 306}, {-32, 306}, {-32, -52}};
    EXPECT_EQ(Region::Polygon(band), Region::FromRect({-52, -52, -32, 306}));
}

TEST(Region, EllipseMatchesTheModel) {
    Random rnd(4);
    for (int i = 0; i < 3000; ++i) {
        Rect box{rnd.In(-3, 20), rnd.In(-3, 20), 0, 0};
        box.right = box.left + rnd.In(-2, 18);
        box.bottom = box.top + rnd.In(-2, 18);
        Region r = Region::Ellipse(box);
        ExpectCanonical(r);
        ASSERT_EQ(Sample(r, {-4, -4, 40, 40}),
                  Model({-4, -4, 40, 40}, [&](int x, int y) { return InEllipse(box, x, y); }))
            << box.left << "," << box.top << "," << box.right << "," << box.bottom;
    }
    EXPECT_TRUE(Region::Ellipse({127, 127, 127, 127}).IsEmpty()) << "circle of radius 0";
    EXPECT_EQ(Region::Ellipse({0, 0, 1, 1}), Region::FromRect({0, 0, 1, 1}));
}

TEST(Region, HugeEllipsesAreExactInsideTheWindow) {
    Random rnd(5);
    const Rect w = Region::kRasterWindow;
    for (int i = 0; i < 150; ++i) {
        Rect box{rnd.In(INT32_MIN, 20000), rnd.In(INT32_MIN, 20000), 0, 0};
        box.right = rnd.In(box.left - 1, INT32_MAX);
        box.bottom = rnd.In(box.top - 1, INT32_MAX);
        Region r = Region::Ellipse(box);
        ExpectCanonical(r);
        // Probe where the curve crosses the window, if it does.
        int32_t px = std::clamp<int32_t>(box.left, w.left, w.right - 30);
        int32_t py = std::clamp(static_cast<int32_t>((int64_t{box.top} + box.bottom) / 2), w.top,
                                w.bottom - 30);
        Rect probe{px, py, px + 30, py + 30};
        ASSERT_EQ(Sample(r, probe), Model(probe, [&](int x, int y) { return InEllipse(box, x, y); }))
            << box.left << "," << box.top << "," << box.right << "," << box.bottom;
    }
    EXPECT_EQ(Region::Ellipse({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}), Region::FromRect(w));
}

// Distance from the pixel centre to the polyline, by brute force.
double DistanceToPolyline(const std::vector<PointF>& p, int32_t x, int32_t y) {
    const double cx = x + 0.5;
    const double cy = y + 0.5;
    double best = std::hypot(cx - p.front().x, cy - p.front().y);
    for (size_t k = 0; k + 1 < p.size(); ++k) {
        const double vx = p[k + 1].x - p[k].x;
        const double vy = p[k + 1].y - p[k].y;
        const double len2 = vx * vx + vy * vy;
        double t = len2 > 0 ? ((cx - p[k].x) * vx + (cy - p[k].y) * vy) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        best = std::min(best, std::hypot(cx - p[k].x - t * vx, cy - p[k].y - t * vy));
    }
    return best;
}

TEST(Region, ThickPolylineHoldsThePixelsWithinHalfItsWidth) {
    std::mt19937 rng(6);
    std::uniform_real_distribution<double> coordinate(-3, 33);
    std::uniform_real_distribution<double> width(0.3, 12);
    for (int i = 0; i < 1500; ++i) {
        // From one point (a dot) to zigzags that cross themselves.
        std::vector<PointF> p(1 + static_cast<size_t>(i % 6));
        for (PointF& c : p) c = {coordinate(rng), coordinate(rng)};
        const double w = width(rng);
        const Region r = Region::ThickPolyline(p, w);
        ExpectCanonical(r);
        const Grid got = Sample(r, {-12, -12, 46, 46});
        const Rect window = got.window;
        size_t k = 0;
        for (int32_t y = window.top; y < window.bottom; ++y) {
            for (int32_t x = window.left; x < window.right; ++x, ++k) {
                const double d = DistanceToPolyline(p, x, y);
                // Centres within rounding of the edge may go either way.
                if (std::abs(d - w / 2) < 1e-9) continue;
                ASSERT_EQ(got.in[k], d < w / 2) << "polyline " << i << " at " << x << "," << y;
            }
        }
    }
}

TEST(Region, ThickPolylineSkipsWhatIsNotANumberAndStaysInTheWindow) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<PointF> dot{{10.5, 10.5}};
    const std::vector<PointF> dot_amid_junk{{nan, 3}, {10.5, 10.5}, {4, inf}};
    EXPECT_EQ(Region::ThickPolyline(dot_amid_junk, 4), Region::ThickPolyline(dot, 4));
    EXPECT_TRUE(Region::ThickPolyline(dot, nan).IsEmpty());
    EXPECT_TRUE(Region::ThickPolyline(dot, 0).IsEmpty());
    EXPECT_TRUE(Region::ThickPolyline({}, 4).IsEmpty());
    // A line to the ends of the number range, and a pen as wide as that.
    const std::vector<PointF> far{{-1e300, 5}, {1e300, 5}};
    const Rect w = Region::kRasterWindow;
    EXPECT_EQ(Region::ThickPolyline(far, 2), Region::FromRect({w.left, 4, w.right, 6}));
    EXPECT_EQ(Region::ThickPolyline(dot, 1e300), Region::FromRect(w));
}

TEST(Region, TransformedMapsEachPixelCentreBack) {
    Random rnd(7);
    const struct {
        double scale, dx, dy;
    } cases[] = {{1, 0, 0}, {1, 3.5, -2.25}, {2, 0, 0}, {0.5, 1, 1}, {0.37, -4.2, 7.9},
                 {1.6, 0.49, 0.51}, {3, -10, 5}};
    for (const auto& c : cases) {
        for (int i = 0; i < 200; ++i) {
            const std::vector<Rect> rects = rnd.Rects(24);
            const Region source = Region::FromRects(rects);
            const Region r = source.Transformed(c.scale, c.dx, c.dy);
            ExpectCanonical(r);
            const Rect probe{-16, -16, 80, 80};
            ASSERT_EQ(Sample(r, probe), Model(probe, [&](int x, int y) {
                          const double sx = std::floor((x + 0.5 - c.dx) / c.scale);
                          const double sy = std::floor((y + 0.5 - c.dy) / c.scale);
                          return InRects(rects, static_cast<int32_t>(sx), static_cast<int32_t>(sy));
                      })) << "scale " << c.scale << " shift " << c.dx << "," << c.dy;
        }
    }
    const Region square = Region::FromRect({0, 0, 10, 10});
    EXPECT_TRUE(square.Transformed(0, 0, 0).IsEmpty());
    EXPECT_TRUE(square.Transformed(-1, 0, 0).IsEmpty());
    EXPECT_TRUE(square.Transformed(1, std::numeric_limits<double>::quiet_NaN(), 0).IsEmpty());
    EXPECT_EQ(square.Transformed(1e300, 0, 0),
              Region::FromRect({0, 0, Region::kRasterWindow.right, Region::kRasterWindow.bottom}));
}

}  // namespace
}  // namespace gfx
