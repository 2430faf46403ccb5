#include "zepkit/reference_strokes.h"

#include <cmath>
#include <system_error>

#include <nlohmann/json.hpp>

#include "sys/files.h"

namespace zepkit {

namespace {

using nlohmann::json;

// The reference's box is a few hundred units wide; a coordinate far
// beyond would make the match's arithmetic overflow.
constexpr double kReach = 1e6;

bool ReadStroke(const json& numbers, ReferenceStroke& stroke) {
    if (!numbers.is_array() || numbers.size() != 4) return false;
    for (const json& n : numbers) {
        if (!n.is_number() || !(std::abs(n.get<double>()) <= kReach)) return false;
    }
    stroke = {{numbers[0].get<double>(), numbers[1].get<double>()},
              {numbers[2].get<double>(), numbers[3].get<double>()}};
    return true;
}

bool ReadCharacter(const json& strokes, std::vector<ReferenceStroke>& out) {
    if (!strokes.is_array() || strokes.empty()) return false;
    out.resize(strokes.size());
    for (size_t i = 0; i < strokes.size(); ++i) {
        if (!ReadStroke(strokes[i], out[i])) return false;
    }
    return true;
}

}  // namespace

bool ParseReferenceStrokes(std::string_view text, ReferenceStrokes& out, std::string& error) {
    const json doc = json::parse(text.begin(), text.end(), nullptr, false);
    if (!doc.is_object()) {
        error = "not a JSON object";
        return false;
    }
    out.clear();
    for (const auto& [count, characters] : doc.items()) {
        if (!characters.is_object()) {
            error = "the entry \"" + count + "\" is not an object of characters";
            return false;
        }
        for (const auto& [character, strokes] : characters.items()) {
            if (!ReadCharacter(strokes, out[character])) {
                error = "the strokes of " + character + " are not lists of four numbers";
                return false;
            }
        }
    }
    return true;
}

bool ReadReferenceStrokes(const std::filesystem::path& file, ReferenceStrokes& out,
                          std::string& error) {
    std::string text;
    std::error_code ec;
    if (!sys::ReadWholeFile(file, text, ec)) {
        error = ec.message();
        return false;
    }
    return ParseReferenceStrokes(text, out, error);
}

}  // namespace zepkit
