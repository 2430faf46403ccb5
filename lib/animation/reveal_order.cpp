#include "animation/reveal_order.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "animation/engine_geometry.h"

namespace player {

namespace {

// The engine's limit on how far a pivot sweep turns.
constexpr int64_t kMaxSweepDegrees = 720;
constexpr double kCanvasCentre = 127.0;
constexpr double kFullTurn = 360.0;
constexpr double kBelowOne = 1 - 1e-9;

double Radians(double degrees) { return degrees * std::numbers::pi / 180.0; }

// The pixels painted by each frame's part, frame by frame, and where each
// frame's band or slice starts along the sweep.
struct FrameMap {
    gfx::Rect box;
    std::vector<int32_t> frame;  // -1 while unpainted
    std::vector<double> start;   // per frame: a band's t, a slice's first angle

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
    for (int32_t t = kFirstBand; t < kBandLimit; t += kBandStep) {
        const gfx::Region band = gfx::Region::Polygon(BandCorners(angle, t));
        const bool empty = PaintPart(map, band, stroke, number);
        if (empty && painting) return;
        painting = painting || !empty;
        if (painting) {
            map.start.push_back(t);
            ++number;
        }
    }
}

int32_t CircleMisses(const StrokeCommand& c, const gfx::Region& stroke) {
    int32_t misses = 0;
    while (misses < kCircleCount &&
           gfx::Region::Ellipse(CircleBox(c.param3, c.param4, misses * kCircleStep))
               .Intersected(stroke)
               .IsEmpty()) {
        ++misses;
    }
    return misses;
}

// Degrees per slice of the pivot sweep, signed with its turn.
int64_t SignedStep(const StrokeCommand& c, const gfx::Region& stroke) {
    const int64_t step = AngularStep(CircleMisses(c, stroke));
    return c.param1 <= c.param2 ? step : -step;
}

void PaintPivot(FrameMap& map, const StrokeCommand& c, const gfx::Region& stroke) {
    const int64_t a1 = c.param1, a2 = c.param2;
    const int64_t step = SignedStep(c, stroke);
    const int64_t d = step > 0 ? 1 : -1;
    bool painted_yet = false;
    for (int64_t b0 = a1, number = 0;; b0 += step, ++number) {
        const int64_t b1 = b0 + step;
        const gfx::Region slice = gfx::Region::Polygon(SliceCorners(b0, b1, c.param3, c.param4));
        const bool empty = PaintPart(map, slice, stroke, static_cast<int32_t>(number));
        map.start.push_back(static_cast<double>(b0));
        if (empty && painted_yet) return;
        painted_yet = painted_yet || !empty;
        if (d * b1 > d * a2 || d * (b1 - a1) > kMaxSweepDegrees) return;
    }
}

FrameMap PaintedFrames(const StrokeCommand& command, const gfx::Region& stroke) {
    FrameMap map(stroke);
    switch (command.kind) {
        case CommandKind::LinearSweep: PaintLinear(map, command.param1, stroke); break;
        case CommandKind::PivotSweep: PaintPivot(map, command, stroke); break;
        case CommandKind::Draw: map.Paint(stroke, 0); break;
        case CommandKind::Wait: break;
    }
    return map;
}

// Where the pixel centre lies inside a band that starts at t.
double InsideBand(int32_t angle, double t, gfx::Point p) {
    const double a = Radians(angle);
    const double along =
        (p.x + 0.5 - kCanvasCentre) * std::cos(a) + (p.y + 0.5 - kCanvasCentre) * std::sin(a);
    return std::clamp((along - t) / kBandStep, 0.0, 1.0);
}

// Where the pixel centre lies inside a slice that turns step degrees from b0;
// a direction just outside it (the slices' corners are cut to pixels) counts
// as the nearer edge.
double InsideSlice(const StrokeCommand& c, double b0, double step, gfx::Point p) {
    const double dx = p.x + 0.5 - c.param3, dy = p.y + 0.5 - c.param4;
    const double angle = std::atan2(dy, dx) * 180.0 / std::numbers::pi;
    const double turned =
        std::fmod(std::fmod((angle - b0) * (step > 0 ? 1 : -1), kFullTurn) + kFullTurn, kFullTurn);
    const double width = std::abs(step);
    if (turned <= width) return turned / width;
    return kFullTurn - turned < turned - width ? 0.0 : 1.0;
}

}  // namespace

std::vector<gfx::Point> RegionPixels(const gfx::Region& region) {
    std::vector<gfx::Point> pixels;
    for (const gfx::Rect& r : region.Rects()) {
        for (int32_t y = r.top; y < r.bottom; ++y) {
            for (int32_t x = r.left; x < r.right; ++x) pixels.push_back({x, y});
        }
    }
    return pixels;
}

std::vector<int32_t> FirstPaintFrames(const StrokeCommand& command, const gfx::Region& stroke) {
    std::vector<int32_t> frames;
    if (stroke.IsEmpty()) return frames;
    FrameMap map = PaintedFrames(command, stroke);
    const int32_t last = *std::max_element(map.frame.begin(), map.frame.end());
    for (const gfx::Point& p : RegionPixels(stroke)) {
        const int32_t f = map.At(p.x, p.y);
        frames.push_back(f < 0 ? last + 1 : f);
    }
    return frames;
}

std::vector<double> RevealTimes(const StrokeCommand& command, const gfx::Region& stroke) {
    std::vector<double> times;
    if (stroke.IsEmpty()) return times;
    FrameMap map = PaintedFrames(command, stroke);
    const int32_t last = *std::max_element(map.frame.begin(), map.frame.end());
    const double step = command.kind == CommandKind::PivotSweep
                            ? static_cast<double>(SignedStep(command, stroke))
                            : 0.0;
    for (const gfx::Point& p : RegionPixels(stroke)) {
        const int32_t f = map.At(p.x, p.y);
        if (f < 0) {
            times.push_back(last + 1.5);
            continue;
        }
        const size_t frame = static_cast<size_t>(f);
        double inside = 0;
        if (command.kind == CommandKind::LinearSweep && frame < map.start.size()) {
            inside = InsideBand(command.param1, map.start[frame], p);
        } else if (command.kind == CommandKind::PivotSweep && frame < map.start.size()) {
            inside = InsideSlice(command, map.start[frame], step, p);
        }
        // Still inside its own frame at the far edge.
        times.push_back(f + std::min(inside, kBelowOne));
    }
    return times;
}

}  // namespace player
