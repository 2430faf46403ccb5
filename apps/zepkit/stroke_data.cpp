#include "zepkit/stroke_data.h"

#include <cmath>

#include <nlohmann/json.hpp>

#include "zep/region_format.h"
#include "zepkit/svg_path.h"

namespace zepkit {

namespace {

using nlohmann::json;

constexpr double kScale = (rgn::kCanvasSide - 2 * kCanvasMargin) / kBoxUnits;

// Points a thousand boxes away are no stroke data, and the arithmetic on
// them could overflow.
constexpr double kReach = 1000 * kBoxUnits;

bool InReach(PointD p) { return std::abs(p.x) <= kReach && std::abs(p.y) <= kReach; }

bool ReadOutline(const json& path, StrokeData& stroke, std::string& error) {
    if (!path.is_string()) {
        error = "a stroke is not a path string";
        return false;
    }
    if (!FlattenPath(path.get_ref<const std::string&>(), stroke.outline, error)) return false;
    for (Polyline& contour : stroke.outline) {
        for (PointD& p : contour) {
            if (!InReach(p)) {
                error = "an outline point lies far outside the box";
                return false;
            }
            p = BoxToCanvas(p);
        }
    }
    return true;
}

bool ReadMedian(const json& points, StrokeData& stroke, std::string& error) {
    if (!points.is_array() || points.empty()) {
        error = "a median is not a list of points";
        return false;
    }
    for (const json& p : points) {
        if (!p.is_array() || p.size() != 2 || !p[0].is_number() || !p[1].is_number()) {
            error = "a median point is not a pair of numbers";
            return false;
        }
        const PointD point{p[0].get<double>(), p[1].get<double>()};
        if (!InReach(point)) {
            error = "a median point lies far outside the box";
            return false;
        }
        stroke.median.push_back(BoxToCanvas(point));
    }
    return true;
}

}  // namespace

PointD BoxToCanvas(PointD p) {
    return {kCanvasMargin + p.x * kScale, kCanvasMargin + (kBoxBaseline - p.y) * kScale};
}

std::optional<std::vector<StrokeData>> ParseCharacter(std::string_view text, std::string& error) {
    const json doc = json::parse(text.begin(), text.end(), nullptr, false);
    if (doc.is_discarded()) {
        error = "not JSON";
        return std::nullopt;
    }
    if (!doc.is_object() || !doc.contains("strokes") || !doc.contains("medians") ||
        !doc["strokes"].is_array() || !doc["medians"].is_array()) {
        error = "no \"strokes\" and \"medians\" lists";
        return std::nullopt;
    }
    const json& paths = doc["strokes"];
    const json& medians = doc["medians"];
    if (paths.size() != medians.size() || paths.empty() || paths.size() > rgn::kMaxRegionFiles) {
        error = "stroke and median counts differ, are 0 or are over " +
                std::to_string(rgn::kMaxRegionFiles);
        return std::nullopt;
    }
    std::vector<StrokeData> strokes(paths.size());
    for (size_t i = 0; i < paths.size(); ++i) {
        if (!ReadOutline(paths[i], strokes[i], error) ||
            !ReadMedian(medians[i], strokes[i], error)) {
            error = "stroke " + std::to_string(i) + ": " + error;
            return std::nullopt;
        }
    }
    return strokes;
}

}  // namespace zepkit
