// SVG path outlines as polygons: the commands M, L, H, V, Q, C and Z, in
// absolute (upper case) and relative (lower case) form, with curves cut into
// straight pieces short enough that no pixel of the canvas notices.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "zepkit/stroke_data.h"

namespace zepkit {

// The closed contours of the path, in the path's own units. False with the
// reason in error for anything else: another command, a number missing or
// malformed, a path that does not begin with a move.
[[nodiscard]] bool FlattenPath(std::string_view path, std::vector<Polyline>& contours,
                               std::string& error);

}  // namespace zepkit
