// The Japanese school order as a reference: KanjiVG's strokes, each reduced
// to its first and last point, as Debian's python3-kanjidraw ships them
// (data.json: {"STROKE_COUNT": {"CHARACTER": [[x1, y1, x2, y2], ...]}}, in a
// box whose y axis points down).
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "zepkit/stroke_data.h"

namespace zepkit {

struct ReferenceStroke {
    PointD start;
    PointD end;
};

// Keyed by the character in UTF-8; strokes in writing order.
using ReferenceStrokes = std::map<std::string, std::vector<ReferenceStroke>, std::less<>>;

// False with the reason in error when the text is not such a file, or holds
// a coordinate more than a million units away.
[[nodiscard]] bool ParseReferenceStrokes(std::string_view json, ReferenceStrokes& out,
                                         std::string& error);

[[nodiscard]] bool ReadReferenceStrokes(const std::filesystem::path& file, ReferenceStrokes& out,
                                        std::string& error);

}  // namespace zepkit
