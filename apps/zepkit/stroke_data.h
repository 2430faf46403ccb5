// Stroke data of one character as the importer reads it: a JSON object with
// "strokes" (SVG path outlines) and "medians" (each stroke's centre-line as
// points, in writing direction), both in a 1024-unit box whose y axis points
// up and whose baseline is at y = 900 of the picture.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zepkit {

struct PointD {
    double x = 0;
    double y = 0;
};
using Polyline = std::vector<PointD>;

// One stroke in canvas pixels: its outline as closed contours, and its
// centre-line from the first point written to the last.
struct StrokeData {
    std::vector<Polyline> outline;
    Polyline median;
};

// Where the box lands: the same margin on every side for every character.
inline constexpr double kBoxUnits = 1024;
inline constexpr double kBoxBaseline = 900;
inline constexpr double kCanvasMargin = 7;

[[nodiscard]] PointD BoxToCanvas(PointD p);

// The strokes of the character, or no value with the reason in error: not
// JSON, a missing or mistyped member, a path that does not parse, a median
// with no point, stroke and median counts that differ, no stroke at all, or
// more strokes than a character may have region files.
[[nodiscard]] std::optional<std::vector<StrokeData>> ParseCharacter(std::string_view json,
                                                                    std::string& error);

}  // namespace zepkit
