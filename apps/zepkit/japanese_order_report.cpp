#include "zepkit/japanese_order_report.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace zepkit {

namespace {

struct Tally {
    size_t characters = 0;
    size_t in_order_before = 0;
    size_t in_order_after = 0;
    size_t strokes = 0;
    size_t in_direction_before = 0;
    size_t in_direction_after = 0;
};

std::string Name(const ImportResult& r) {
    const std::u8string stem = r.source.stem().u8string();
    return {stem.begin(), stem.end()};
}

std::string Row(const char* measure, size_t before, size_t after, size_t all) {
    const double whole = static_cast<double>(std::max<size_t>(all, 1));
    char line[160];
    std::snprintf(line, sizeof line, "| %s | %zu (%.1f%%) | %zu (%.1f%%) |\n", measure, before,
                  100.0 * static_cast<double>(before) / whole, after,
                  100.0 * static_cast<double>(after) / whole);
    return line;
}

// Stroke numbers count from 1, as a learner counts them.
std::string Numbers(const std::vector<size_t>& strokes) {
    std::string text;
    for (const size_t s : strokes) text += " " + std::to_string(s + 1);
    return text;
}

std::string Changes(const JapaneseOrderCheck& check) {
    std::string text;
    if (OrderChanged(check)) {
        std::vector<size_t> read_as(check.match.size());
        for (size_t i = 0; i < check.match.size(); ++i) read_as[check.match[i]] = i;
        text += "order" + Numbers(read_as);
    }
    if (!check.reversed.empty()) {
        text += (text.empty() ? "" : "; ") + std::string("reversed") + Numbers(check.reversed);
    }
    return text;
}

std::string WhyLeft(const JapaneseOrderCheck& check, size_t strokes) {
    if (check.status == ReferenceStatus::CountDiffers) {
        return std::to_string(strokes) + " strokes here, " +
               std::to_string(check.reference_count) + " in KanjiVG";
    }
    if (check.order_ambiguous) return "order left: another match is about as close";
    std::string text;
    for (const size_t s : check.directions_left) {
        const double degrees = std::acos(check.direction[s]) * 180 / std::numbers::pi;
        text += (text.empty() ? "" : "; ") + std::string("stroke ") + std::to_string(s + 1) +
                " left, " + std::to_string(std::lround(degrees)) + " degrees from KanjiVG's";
    }
    return text;
}

}  // namespace

std::string JapaneseOrderReport(const std::vector<ImportResult>& results) {
    Tally tally;
    std::string changed, left;
    size_t changed_count = 0, left_count = 0;
    for (const ImportResult& r : results) {
        const JapaneseOrderCheck& check = r.japanese_order;
        if (!r.error.empty() || check.status == ReferenceStatus::Missing) continue;
        ++tally.characters;
        tally.in_order_before += InReferenceOrder(check, false);
        tally.in_order_after += InReferenceOrder(check, true);
        tally.strokes += check.direction.size();
        tally.in_direction_before += StrokesInReferenceDirection(check, false);
        tally.in_direction_after += StrokesInReferenceDirection(check, true);
        if (const std::string what = Changes(check); !what.empty()) {
            changed += "- " + Name(r) + ": " + what + "\n";
            ++changed_count;
        }
        if (const std::string why = WhyLeft(check, r.strokes.size()); !why.empty()) {
            left += "- " + Name(r) + ": " + why + "\n";
            ++left_count;
        }
    }
    std::string text = "\n## The Japanese school order (KanjiVG)\n\n";
    text += "| measure | as read | as imported |\n|---|---|---|\n";
    text += Row("characters in KanjiVG's order", tally.in_order_before, tally.in_order_after,
                tally.characters);
    text += Row("strokes in KanjiVG's direction", tally.in_direction_before,
                tally.in_direction_after, tally.strokes);
    text += "\nOf " + std::to_string(tally.characters) + " characters in KanjiVG, " +
            std::to_string(tally.strokes) + " strokes compared. Strokes are numbered from 1 " +
            "as read; \"order\" lists them in their new order.\n";
    text += "\nChanged (" + std::to_string(changed_count) + "):\n\n" + changed;
    return text + "\nLeft as read (" + std::to_string(left_count) + "):\n\n" + left;
}

}  // namespace zepkit
