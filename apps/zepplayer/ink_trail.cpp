#include "zepplayer/ink_trail.h"

#include <cmath>
#include <cstddef>

#include "zep/canvas.h"

namespace player {

namespace {

// A pointer held down for minutes must not make a stroke without end; the
// judge, the recogniser and the picture all walk every point.
constexpr size_t kMaxInkPoints = 4096;
// Closer than this to the last point, a move adds nothing but jitter.
constexpr double kMinInkStep = 0.25;

}  // namespace

void ExtendTrail(std::vector<gfx::PointF>& ink, gfx::PointF at) {
    if (ink.empty()) {
        ink.push_back(at);
        return;
    }
    if (ink.size() >= kMaxInkPoints) return;
    const gfx::PointF last = ink.back();
    if (std::hypot(at.x - last.x, at.y - last.y) < kMinInkStep) return;
    ink.push_back(at);
}

bool OnCanvas(gfx::PointF at) {
    return at.x >= 0 && at.y >= 0 && at.x < kCanvasSide && at.y < kCanvasSide;
}

practice::Ink TrailInk(const std::vector<gfx::PointF>& ink) {
    practice::Ink points;
    points.reserve(ink.size());
    for (const gfx::PointF& p : ink) points.push_back({p.x, p.y});
    return points;
}

}  // namespace player
