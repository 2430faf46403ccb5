#include "animation/engine_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace player {

namespace {

constexpr double kCentre = 127.0;
constexpr double kHalfLength = 179.0;
constexpr double kSliceRadius = 358.0;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

int32_t ClampToPixel(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t TruncateToPixel(double v) {
    constexpr double kMin = std::numeric_limits<int32_t>::min();
    constexpr double kMax = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(v), kMin, kMax));
}

std::array<gfx::Point, 4> BandCorners(int32_t angle, int32_t t) {
    const double a = Radians(angle);
    const double dx = std::cos(a);
    const double dy = std::sin(a);
    const double t2 = t + 20.0;
    auto corner = [](double x, double y) { return gfx::Point{TruncateToPixel(x), TruncateToPixel(y)}; };
    return {
        corner(kCentre + t * dx + kHalfLength * dy, kCentre + t * dy - kHalfLength * dx),
        corner(kCentre + t * dx - kHalfLength * dy, kCentre + t * dy + kHalfLength * dx),
        corner(kCentre + t2 * dx - kHalfLength * dy, kCentre + t2 * dy + kHalfLength * dx),
        corner(kCentre + t2 * dx + kHalfLength * dy, kCentre + t2 * dy - kHalfLength * dx),
    };
}

std::array<gfx::Point, 5> SliceCorners(int64_t b0, int64_t b1, int32_t px, int32_t py) {
    const double t0 = Radians(static_cast<double>(b0));
    const double t1 = Radians(static_cast<double>(b1));
    auto on_circle = [&](double t) {
        return gfx::Point{TruncateToPixel(px + kSliceRadius * std::cos(t)),
                          TruncateToPixel(py + kSliceRadius * std::sin(t))};
    };
    return {on_circle(t0), on_circle((2 * t0 + t1) / 3), on_circle((t0 + 2 * t1) / 3), on_circle(t1),
            gfx::Point{px, py}};
}

gfx::Rect CircleBox(int32_t px, int32_t py, int32_t r) {
    return {ClampToPixel(int64_t{px} - r), ClampToPixel(int64_t{py} - r), ClampToPixel(int64_t{px} + r),
            ClampToPixel(int64_t{py} + r)};
}

}  // namespace player
