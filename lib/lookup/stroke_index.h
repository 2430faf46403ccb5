// The strokes of one character as the look-up compares drawings with them:
// each stroke's path in writing order. The set keeps them in this compact
// form, made at import, so that loading every character's strokes is fast.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "practice/ink.h"

namespace lookup {

struct IndexedStroke {
    bool direction_judged = true;  // false for a stroke shown at once: no writing direction
    std::vector<practice::Point> path;  // canvas pixels, in writing order
};

// Points are kept to the nearest whole pixel within the 256-pixel square
// that holds every region; at most 255 strokes of at most 255 points.
[[nodiscard]] std::string EncodeStrokePaths(const std::vector<IndexedStroke>& strokes);

// Nothing for bytes that are not such a list.
[[nodiscard]] std::optional<std::vector<IndexedStroke>> DecodeStrokePaths(std::string_view bytes);

}  // namespace lookup
