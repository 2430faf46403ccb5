#include "zepkit/kanji_grade.h"

#include "grades/tables.h"

namespace zepkit {

namespace {

constexpr char32_t kFirstUnified = U'\u4E00';
constexpr char32_t kLastUnified = U'\u9FFF';

}  // namespace

int KanjiGrade(char32_t character) {
    // dorvik classifies UTF-16 units, so a character above U+FFFF is none.
    if (character > 0xFFFF) return kOther;
    const grade::CharGrade graded = grade::ClassifyChar(static_cast<char16_t>(character));
    if (graded.char_class != grade::CharClass::Kanji) return kOther;
    if (graded.grade <= 6) return graded.grade;
    return character >= kFirstUnified && character <= kLastUnified ? kSecondary : kOther;
}

std::string GradeName(int grade) {
    if (grade == kSecondary) return "Secondary";
    if (grade >= 1 && grade <= 6) return std::to_string(grade);
    return "Other";
}

}  // namespace zepkit
