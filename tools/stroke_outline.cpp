#include "stroke_outline.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace tools {

namespace {

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    size_t p = 0;
    while (p < line.size()) {
        while (p < line.size() && (line[p] == ' ' || line[p] == '\t')) ++p;
        size_t end = p;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
        if (end > p) words.push_back(line.substr(p, end - p));
        p = end;
    }
    return words;
}

// A whole word of decimal digits with an optional minus sign, within limits.
std::optional<int32_t> Number(std::string_view word, int32_t low, int32_t high) {
    int32_t value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, ec] = std::from_chars(word.data(), end, value);
    if (ec != std::errc() || stop != end || value < low || value > high) return std::nullopt;
    return value;
}

std::optional<BrushPoint> Point(std::string_view word, int32_t radius) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t comma = word.find(','); comma != std::string_view::npos; comma = word.find(',', start)) {
        parts.push_back(word.substr(start, comma - start));
        start = comma + 1;
    }
    parts.push_back(word.substr(start));
    if (parts.size() != 2 && parts.size() != 3) return std::nullopt;
    const auto x = Number(parts[0], 0, kMaxCoordinate);
    const auto y = Number(parts[1], 0, kMaxCoordinate);
    const auto r = parts.size() == 3 ? Number(parts[2], 1, kMaxRadius) : std::optional(radius);
    if (!x || !y || !r) return std::nullopt;
    return BrushPoint{*x, *y, *r};
}

}  // namespace

bool ParseStrokeOutlines(std::string_view text, std::vector<StrokeOutline>& strokes, std::string& error) {
    strokes.clear();
    int32_t radius = kDefaultRadius;
    int line_number = 0;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t newline = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, newline - start);
        start = newline + 1;
        ++line_number;
        line = line.substr(0, line.find('#'));
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const std::vector<std::string_view> words = Words(line);
        if (words.empty()) continue;
        const auto fail = [&](std::string_view what) {
            error = "line " + std::to_string(line_number) + ": " + std::string(what);
            return false;
        };
        if (words[0] == "radius") {
            const auto r = words.size() == 2 ? Number(words[1], 1, kMaxRadius) : std::nullopt;
            if (!r) return fail("radius wants one number from 1 to 40");
            radius = *r;
            continue;
        }
        StrokeOutline stroke;
        if (words[0] == "line") {
            stroke.shape = PathShape::Line;
        } else if (words[0] == "curve") {
            stroke.shape = PathShape::Curve;
        } else {
            return fail("unknown word '" + std::string(words[0]) + "'");
        }
        if (words.size() < 2) return fail("a stroke needs at least one point");
        for (size_t i = 1; i < words.size(); ++i) {
            const auto point = Point(words[i], radius);
            if (!point) return fail("bad point '" + std::string(words[i]) + "' (X,Y or X,Y,R on the canvas)");
            stroke.points.push_back(*point);
        }
        strokes.push_back(std::move(stroke));
    }
    return true;
}

}  // namespace tools
