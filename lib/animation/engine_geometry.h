// The shapes that uncover a stroke during a sweep, in canvas pixels.
//
// Corners are computed in double and truncated toward zero; a coordinate
// beyond 32 bits sticks at the limit. That only happens for a pivot within
// 358 pixels of the limit, whose whole shape then lies far outside the
// canvas either way.
#pragma once

#include <array>
#include <cstdint>

#include "gfx/geometry.h"

namespace player {

// A linear sweep moves a band 20 pixels deep and 358 long across the canvas
// centre, at t = -179, -159, ... up to the last t below 179 (18 positions).
inline constexpr int32_t kFirstBand = -179;
inline constexpr int32_t kBandStep = 20;
inline constexpr int32_t kBandLimit = 179;

// A pivot sweep measures the stroke's distance from the pivot with circles of
// radius 0, 20, ... 220.
inline constexpr int32_t kCircleCount = 12;
inline constexpr int32_t kCircleStep = 20;

int32_t TruncateToPixel(double v);

// The band at position t for a sweep towards angle degrees (0 to the right,
// 90 downwards).
std::array<gfx::Point, 4> BandCorners(int32_t angle, int32_t t);

// The wedge from angle b0 to b1 (degrees) about the pivot: four points on a
// circle of radius 358, then the pivot.
std::array<gfx::Point, 5> SliceCorners(int64_t b0, int64_t b1, int32_t px, int32_t py);

// The box of the circle of radius r about the pivot.
gfx::Rect CircleBox(int32_t px, int32_t py, int32_t r);

// Degrees per slice when the first n circles miss the stroke: the farther the
// stroke, the finer the slices.
inline constexpr int32_t AngularStep(int32_t misses) { return 50 / (misses + 2); }

}  // namespace player
