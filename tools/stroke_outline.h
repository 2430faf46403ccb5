// Stroke outlines: the centre-line of each stroke of a character and the
// radius of the round brush along it, read from a small text description.
//
// The description, one stroke per line, in writing order:
//
//   # a comment, to the end of the line
//   radius R                     radius for the points that give none (10 at first)
//   line  X,Y[,R] X,Y[,R] ...    straight segments from point to point
//   curve X,Y[,R] X,Y[,R] ...    a smooth curve through the points; a point
//                                written twice in a row makes a sharp corner
//
// Points are canvas pixels, 0 to 253, in the order the brush moves; a radius
// is 1 to 40 pixels and changes evenly between two points, so a stroke can
// swell or taper. A stroke of one point is a round dot.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

struct BrushPoint {
    int32_t x = 0;
    int32_t y = 0;
    int32_t radius = 0;
    friend bool operator==(const BrushPoint&, const BrushPoint&) = default;
};

enum class PathShape { Line, Curve };

struct StrokeOutline {
    PathShape shape = PathShape::Line;
    std::vector<BrushPoint> points;
    friend bool operator==(const StrokeOutline&, const StrokeOutline&) = default;
};

inline constexpr int32_t kMaxCoordinate = 253;
inline constexpr int32_t kMaxRadius = 40;
inline constexpr int32_t kDefaultRadius = 10;

// The strokes of the description, or false with "line N: what is wrong" in error.
bool ParseStrokeOutlines(std::string_view text, std::vector<StrokeOutline>& strokes, std::string& error);

}  // namespace tools
