// Holding imported strokes to the Japanese school order. The stroke data
// derives partly from Chinese sources, whose order differs in some
// characters (the last three strokes of the thread radical, among others).
// Each character is held against the reference (KanjiVG): with the same
// number of strokes, both fitted to one box, every stroke is matched to one
// of the reference's by its start and end points taken either way round, the
// cheapest match of all strokes at once. Where the reference's order or a
// stroke's direction differs without doubt, the reference is followed.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "zepkit/reference_strokes.h"
#include "zepkit/stroke_data.h"

namespace zepkit {

enum class ReferenceStatus { Missing, CountDiffers, Compared };

struct JapaneseOrderCheck {
    ReferenceStatus status = ReferenceStatus::Missing;
    size_t reference_count = 0;
    // For each stroke as read: the reference stroke it matches, and the
    // cosine of the angle between their directions (start to end).
    std::vector<size_t> match;
    std::vector<double> direction;
    // Another match costs little more than the cheapest, so the order is
    // left as read and nothing is changed.
    bool order_ambiguous = false;
    std::vector<size_t> reversed;         // strokes as read, turned round
    std::vector<size_t> directions_left;  // against the reference, but too near square to it
};

[[nodiscard]] JapaneseOrderCheck CompareWithReference(
    const std::vector<StrokeData>& strokes, const std::vector<ReferenceStroke>& reference);

// The check of the character named `name` (UTF-8) against the reference set.
[[nodiscard]] JapaneseOrderCheck CompareWithReference(const std::vector<StrokeData>& strokes,
                                                      const ReferenceStrokes& references,
                                                      std::string_view name);

// Puts the strokes in the reference's order and turns the reversed ones
// round, as the check decided.
void FollowReference(const JapaneseOrderCheck& check, std::vector<StrokeData>& strokes);

[[nodiscard]] bool OrderChanged(const JapaneseOrderCheck& check);
[[nodiscard]] bool InReferenceOrder(const JapaneseOrderCheck& check, bool after);
[[nodiscard]] size_t StrokesInReferenceDirection(const JapaneseOrderCheck& check, bool after);

}  // namespace zepkit
