#include "lookup/stroke_index.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace lookup {

namespace {

constexpr size_t kMaxCount = 255;
constexpr uint8_t kDirectionJudged = 1;

char Coordinate(double value) {
    const double clamped = std::clamp(std::round(value), 0.0, 255.0);
    return static_cast<char>(static_cast<uint8_t>(clamped));
}

}  // namespace

std::string EncodeStrokePaths(const std::vector<IndexedStroke>& strokes) {
    std::string bytes;
    const size_t count = std::min(strokes.size(), kMaxCount);
    bytes.push_back(static_cast<char>(count));
    for (size_t s = 0; s < count; ++s) {
        const IndexedStroke& stroke = strokes[s];
        const size_t points = std::min(stroke.path.size(), kMaxCount);
        bytes.push_back(static_cast<char>(stroke.direction_judged ? kDirectionJudged : 0));
        bytes.push_back(static_cast<char>(points));
        for (size_t i = 0; i < points; ++i) {
            bytes.push_back(Coordinate(stroke.path[i].x));
            bytes.push_back(Coordinate(stroke.path[i].y));
        }
    }
    return bytes;
}

std::optional<std::vector<IndexedStroke>> DecodeStrokePaths(std::string_view bytes) {
    size_t at = 0;
    const auto next = [&]() -> std::optional<uint8_t> {
        if (at >= bytes.size()) return std::nullopt;
        return static_cast<uint8_t>(bytes[at++]);
    };
    const std::optional<uint8_t> count = next();
    if (!count) return std::nullopt;
    std::vector<IndexedStroke> strokes(*count);
    for (IndexedStroke& stroke : strokes) {
        const std::optional<uint8_t> flags = next(), points = next();
        if (!flags || !points || (*flags & ~kDirectionJudged) != 0) return std::nullopt;
        stroke.direction_judged = (*flags & kDirectionJudged) != 0;
        if (bytes.size() - at < size_t{*points} * 2) return std::nullopt;
        for (uint8_t i = 0; i < *points; ++i) {
            const double x = static_cast<uint8_t>(bytes[at]);
            const double y = static_cast<uint8_t>(bytes[at + 1]);
            at += 2;
            stroke.path.push_back({x, y});
        }
    }
    if (at != bytes.size()) return std::nullopt;
    return strokes;
}

}  // namespace lookup
