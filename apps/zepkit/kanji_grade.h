// The school grade of a kanji as zepkit shows it, from dorvik's tables.
#pragma once

#include <string>

namespace zepkit {

// 1 to 6 for the six grade lists; kSecondary for any other character of the
// unified ideographs, the block all school kanji come from; kOther for the
// rest, which are not kanji by dorvik's rule or are rare forms (extension A,
// compatibility ideographs, 〇, anything above U+FFFF).
inline constexpr int kSecondary = 7;
inline constexpr int kOther = 8;
[[nodiscard]] int KanjiGrade(char32_t character);

// "1" to "6", "Secondary" or "Other".
[[nodiscard]] std::string GradeName(int grade);

}  // namespace zepkit
