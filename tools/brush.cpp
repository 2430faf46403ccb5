#include "brush.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace tools {

namespace {

constexpr int64_t kSub = 16;  // sub-pixel units per pixel

int64_t FloorDiv(int64_t num, int64_t den) {
    const int64_t q = num / den;
    return (num % den != 0 && (num < 0) != (den < 0)) ? q - 1 : q;
}

// num / den rounded to the nearest integer, halves upwards; den > 0.
int64_t RoundDiv(int64_t num, int64_t den) { return FloorDiv(2 * num + den, 2 * den); }

struct Stamp {
    int64_t x;  // centre, in sixteenths of a pixel
    int64_t y;
    int64_t r;
};

class Canvas {
public:
    Canvas() : covered_(static_cast<size_t>(kCanvasSide * kCanvasSide), false) {}

    // Stamp coordinates are measured from pixel centres: (0, 0) is the centre
    // of pixel (0, 0), so a point of the description is the middle of its pixel.
    void Disc(const Stamp& s) {
        const int64_t x0 = std::max<int64_t>(0, FloorDiv(s.x - s.r + kSub - 1, kSub));
        const int64_t x1 = std::min<int64_t>(kCanvasSide - 1, FloorDiv(s.x + s.r, kSub));
        const int64_t y0 = std::max<int64_t>(0, FloorDiv(s.y - s.r + kSub - 1, kSub));
        const int64_t y1 = std::min<int64_t>(kCanvasSide - 1, FloorDiv(s.y + s.r, kSub));
        for (int64_t y = y0; y <= y1; ++y) {
            const int64_t dy = y * kSub - s.y;
            for (int64_t x = x0; x <= x1; ++x) {
                const int64_t dx = x * kSub - s.x;
                if (dx * dx + dy * dy <= s.r * s.r) covered_[static_cast<size_t>(y * kCanvasSide + x)] = true;
            }
        }
    }

    gfx::Region ToRegion() const {
        gfx::Region region;
        for (int32_t y = 0; y < kCanvasSide; ++y) {
            int32_t x = 0;
            while (x < kCanvasSide) {
                if (!At(x, y)) {
                    ++x;
                    continue;
                }
                const int32_t start = x;
                while (x < kCanvasSide && At(x, y)) ++x;
                region.AddRect({start, y, x, y + 1});
            }
        }
        return region;
    }

private:
    bool At(int32_t x, int32_t y) const { return covered_[static_cast<size_t>(y * kCanvasSide + x)]; }
    std::vector<bool> covered_;
};

int64_t Manhattan(const BrushPoint& a, const BrushPoint& b) {
    return std::abs(int64_t{b.x} - a.x) + std::abs(int64_t{b.y} - a.y);
}

int64_t Radius(const BrushPoint& a, const BrushPoint& b, int64_t k, int64_t n) {
    return RoundDiv(kSub * (a.radius * (n - k) + b.radius * k), n);
}

void StampLine(Canvas& canvas, const BrushPoint& a, const BrushPoint& b) {
    const int64_t n = std::max<int64_t>(1, 4 * Manhattan(a, b));
    for (int64_t k = 0; k <= n; ++k) {
        canvas.Disc({RoundDiv(kSub * (a.x * (n - k) + b.x * k), n), RoundDiv(kSub * (a.y * (n - k) + b.y * k), n),
                     Radius(a, b, k, n)});
    }
}

// One coordinate of the uniform Catmull-Rom segment from p1 to p2 at
// t = k / n, in sixteenths: 2 n^3 p(t) is a polynomial in k with integer
// coefficients, so it is computed exactly and rounded once.
int64_t CatmullRom(int64_t p0, int64_t p1, int64_t p2, int64_t p3, int64_t k, int64_t n) {
    const int64_t a = 2 * p1;
    const int64_t b = p2 - p0;
    const int64_t c = 2 * p0 - 5 * p1 + 4 * p2 - p3;
    const int64_t d = -p0 + 3 * p1 - 3 * p2 + p3;
    const int64_t scaled = a * n * n * n + b * k * n * n + c * k * k * n + d * k * k * k;
    return RoundDiv(kSub * scaled, 2 * n * n * n);
}

// The curve leaves the first point and reaches the last one along the chord
// of the first and the last segment.
void StampCurve(Canvas& canvas, const std::vector<BrushPoint>& points) {
    const size_t last = points.size() - 1;
    for (size_t i = 0; i < last; ++i) {
        const BrushPoint& p0 = points[i == 0 ? 0 : i - 1];
        const BrushPoint& p1 = points[i];
        const BrushPoint& p2 = points[i + 1];
        const BrushPoint& p3 = points[i + 1 == last ? last : i + 2];
        const int64_t n = std::max<int64_t>(1, 8 * Manhattan(p1, p2));
        for (int64_t k = 0; k <= n; ++k) {
            canvas.Disc({CatmullRom(p0.x, p1.x, p2.x, p3.x, k, n), CatmullRom(p0.y, p1.y, p2.y, p3.y, k, n),
                         Radius(p1, p2, k, n)});
        }
    }
}

}  // namespace

gfx::Region BrushStroke(const StrokeOutline& stroke) {
    Canvas canvas;
    const std::vector<BrushPoint>& points = stroke.points;
    if (points.size() == 1) {
        canvas.Disc({kSub * points[0].x, kSub * points[0].y, kSub * points[0].radius});
    } else if (stroke.shape == PathShape::Curve) {
        StampCurve(canvas, points);
    } else {
        for (size_t i = 0; i + 1 < points.size(); ++i) StampLine(canvas, points[i], points[i + 1]);
    }
    return canvas.ToRegion();
}

}  // namespace tools
