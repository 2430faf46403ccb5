// Rasterising constructors: polygons by the even-odd rule and ellipses, both
// sampled at pixel centres in exact integer arithmetic and clipped to
// Region::kRasterWindow.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "gfx/region.h"
#include "gfx/region_builder.h"

namespace gfx {

namespace {

// GCC and Clang (MinGW included) have 128-bit integers; products of two
// 32-bit differences and a further factor need them.
__extension__ typedef __int128 int128;
__extension__ typedef unsigned __int128 uint128;

constexpr Rect kWindow = Region::kRasterWindow;

// floor(n / d) for d > 0.
int128 FloorDiv(int128 n, int128 d) {
    int128 q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

// An edge that a row's centre line crosses, stepping its crossing exactly
// from row to row. The pixel boundary it sets in row y is ceil(c - 1/2), c
// being the crossing's x at y + 1/2: pixel x counts the edge as left of its
// centre exactly when that boundary is <= x. ceil(num / den) is kept as
// num = q * den + r with 0 <= r < den.
struct Edge {
    int64_t first_row = 0;  // rows [first_row, end_row) of the clipped edge
    int64_t end_row = 0;
    int64_t q = 0;
    int64_t r = 0;
    int64_t den = 0;
    int64_t step_q = 0;
    int64_t step_r = 0;

    int64_t Boundary() const { return q + (r != 0 ? 1 : 0); }
    void NextRow() {
        q += step_q;
        r += step_r;
        if (r >= den) {
            r -= den;
            ++q;
        }
    }
};

// Returns false for an edge that no row centre inside the window crosses.
// With (x0, y0) the upper end, D = y1 - y0 > 0 and dx = x1 - x0, the crossing
// at row y is c = x0 + (2y + 1 - 2y0) dx / 2D, so
// c - 1/2 = (2 x0 D + (2y + 1 - 2y0) dx - D) / 2D. Row y's centre lies between
// the ends exactly when y0 <= y < y1 (corners sit on whole numbers).
bool MakeEdge(Point a, Point b, Edge& e) {
    if (a.y == b.y) return false;
    if (a.y > b.y) std::swap(a, b);
    int64_t x0 = a.x;
    int64_t y0 = a.y;
    int64_t d = int64_t{b.y} - y0;
    int64_t dx = int64_t{b.x} - x0;
    e.first_row = std::max<int64_t>(y0, kWindow.top);
    e.end_row = std::min<int64_t>(b.y, kWindow.bottom);
    if (e.first_row >= e.end_row) return false;
    e.den = 2 * d;
    int128 num = int128{2} * x0 * d + int128{2 * (e.first_row - y0) + 1} * dx - d;
    int128 q = FloorDiv(num, e.den);
    e.q = static_cast<int64_t>(q);
    e.r = static_cast<int64_t>(num - q * e.den);
    int128 step = int128{2} * dx;
    int128 sq = FloorDiv(step, e.den);
    e.step_q = static_cast<int64_t>(sq);
    e.step_r = static_cast<int64_t>(step - sq * e.den);
    return true;
}

int32_t ClampToWindowX(int64_t x) {
    return static_cast<int32_t>(std::clamp<int64_t>(x, kWindow.left, kWindow.right));
}

// floor(sqrt(n)), exactly.
uint64_t Isqrt(uint128 n) {
    double estimate = std::sqrt(static_cast<double>(n));
    uint64_t s = estimate >= 0x1p64 ? UINT64_MAX : static_cast<uint64_t>(estimate);
    // The estimate is within a few units in its last place; one Newton step
    // brings it within one, the loops settle it.
    if (s > 0) s = static_cast<uint64_t>((s + n / s) / 2);
    while (uint128{s} * s > n) --s;
    while (uint128{s + 1} * (s + 1) <= n) ++s;
    return s;
}

int64_t CeilHalf(int64_t n) { return n >= 0 ? (n + 1) / 2 : -((-n) / 2); }
int64_t FloorHalf(int64_t n) { return n >= 0 ? n / 2 : -((-n + 1) / 2); }

}  // namespace

Region Region::Polygon(std::span<const Point> corners) {
    std::vector<Edge> edges;
    for (size_t i = 0; i < corners.size(); ++i) {
        Edge e;
        if (MakeEdge(corners[i], corners[(i + 1) % corners.size()], e)) edges.push_back(e);
    }
    std::sort(edges.begin(), edges.end(),
              [](const Edge& a, const Edge& b) { return a.first_row < b.first_row; });

    RegionBuilder out;
    std::vector<Edge> active;
    std::vector<int64_t> xs;
    size_t next = 0;
    int64_t y = edges.empty() ? 0 : edges.front().first_row;
    while (next < edges.size() || !active.empty()) {
        if (active.empty()) y = std::max(y, edges[next].first_row);
        std::erase_if(active, [y](const Edge& e) { return e.end_row <= y; });
        while (next < edges.size() && edges[next].first_row == y) active.push_back(edges[next++]);
        if (active.empty()) continue;

        xs.clear();
        for (const Edge& e : active) xs.push_back(e.Boundary());
        std::sort(xs.begin(), xs.end());
        // A closed polygon crosses every row centre line an even number of
        // times, since no corner lies on one.
        out.BeginBand(static_cast<int32_t>(y), static_cast<int32_t>(y + 1));
        for (size_t k = 0; k + 1 < xs.size(); k += 2) {
            out.AddSpan(ClampToWindowX(xs[k]), ClampToWindowX(xs[k + 1]));
        }
        out.EndBand();

        for (Edge& e : active) e.NextRow();
        ++y;
    }
    return out.Finish();
}

// Pixel (x, y) is inside when its centre lies strictly inside the ellipse of
// the box. With w, h the box's sides, X = 2x + 1 - (left + right) and
// Y = 2y + 1 - (top + bottom), that is X^2 h^2 + Y^2 w^2 < w^2 h^2, or
// X^2 h^2 < w^2 (h^2 - Y^2) =: R. Every row of the box has |Y| < h, so R > 0
// and the row's pixels are those with |X| <= K, K = floor(isqrt(R - 1) / h).
// Both sides stay below 2^128 for 32-bit boxes.
Region Region::Ellipse(const Rect& box) {
    RegionBuilder out;
    if (box.IsEmpty()) return out.Finish();
    int64_t w = int64_t{box.right} - box.left;
    int64_t h = int64_t{box.bottom} - box.top;
    int64_t sx = int64_t{box.left} + box.right;
    int64_t sy = int64_t{box.top} + box.bottom;
    int64_t first = std::max<int64_t>(box.top, kWindow.top);
    int64_t end = std::min<int64_t>(box.bottom, kWindow.bottom);
    for (int64_t y = first; y < end; ++y) {
        auto ay = static_cast<uint128>(std::abs(2 * y + 1 - sy));
        uint128 r = uint128(w) * uint128(w) * (uint128(h) * uint128(h) - ay * ay);
        int64_t k = static_cast<int64_t>(Isqrt(r - 1) / static_cast<uint64_t>(h));
        // -k <= 2x + 1 - sx <= k
        int64_t x1 = CeilHalf(sx - 1 - k);
        int64_t x2 = FloorHalf(k + sx - 1) + 1;
        out.BeginBand(static_cast<int32_t>(y), static_cast<int32_t>(y + 1));
        out.AddSpan(ClampToWindowX(x1), ClampToWindowX(x2));
        out.EndBand();
    }
    return out.Finish();
}

}  // namespace gfx
