// What a pupil knows in which school grade, one character at a time.
//
// A grade is 0 to 7: 0 needs nothing taught at school, 1 to 6 are the six
// years of elementary school, 7 is junior high school or later. Characters
// are single UTF-16 code units; a character above U+FFFF arrives as two
// surrogates, and both are Other.
#pragma once

#include <array>
#include <string_view>

namespace grade {

// The kanji taught in grades 1 to 6 (index 0 is grade 1), by the national
// curriculum's table of kanji by school year as revised for 2020: 1,026
// characters, each in exactly one list, all in U+4E00..U+9FFF.
extern const std::array<std::u16string_view, 6> GradeKanjiTables;

// Listed in the order ClassifyChar tests them; only U+3005 would fit two.
enum class CharClass {
    Kana,           // hiragana, katakana and the prolonged sound mark: grade 1
    Latin,          // ASCII and full-width letters: grade 3
    Digit,          // ASCII and full-width digits: grade 1
    IterationMark,  // 々: grade 3
    Kanji,          // graded by GradeKanjiTables, 7 when in none
    Other,          // everything else, which no grade needs
};

struct CharGrade {
    CharClass char_class;
    int grade;  // 0 for Other
};

// U+3400..U+9FFF (unified ideographs and Extension A), U+F900..U+FAFF
// (compatibility ideographs), 々 and 〇.
bool IsKanji(char16_t unit);

// For a unit that IsKanji accepts: the grade of the list that holds it, or 7.
int FindGradeOfKanji(char16_t unit);

CharGrade ClassifyChar(char16_t unit);

// "Grade 3／小学三年生" and so on; a grade above 6 gets the label of 7.
std::u16string_view GradeLabel(int grade);

}  // namespace grade
