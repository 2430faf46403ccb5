// The learner's ink as the pointer draws it, shared by practice and look-up:
// the points of one stroke in canvas pixels, and how they are shown.
#pragma once

#include <vector>

#include "gfx/bitmap.h"
#include "gfx/geometry.h"
#include "practice/ink.h"

namespace player {

inline constexpr gfx::Color kInkColor{0, 64, 160};
// About a brush's width on the 254-pixel canvas, thinner than most strokes so
// that a shape under it stays visible.
inline constexpr double kInkWidth = 6;

// Adds the pointer's new position to the stroke being drawn, unless it is
// too close to the last point or the stroke has reached its limit.
void ExtendTrail(std::vector<gfx::PointF>& ink, gfx::PointF at);

// Strokes start on the canvas only.
[[nodiscard]] bool OnCanvas(gfx::PointF at);

// The stroke as the judge and the recogniser take it.
[[nodiscard]] practice::Ink TrailInk(const std::vector<gfx::PointF>& ink);

}  // namespace player
