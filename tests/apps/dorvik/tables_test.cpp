#include "grades/tables.h"

#include "school_year_kanji.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string_view>
#include <vector>

namespace {

using grade::CharClass;

// The lookup as the curriculum's lists define it: search them one after the
// other from grade 1, 7 when no list holds the kanji.
int SearchLists(char16_t unit) {
    for (size_t i = 0; i < grade_test::kSchoolYearKanji.size(); ++i) {
        if (grade_test::kSchoolYearKanji[i].find(unit) != std::u16string_view::npos) {
            return static_cast<int>(i + 1);
        }
    }
    return 7;
}

TEST(GradeKanjiTables, HoldTheListsOfEachGrade) {
    std::set<char16_t> all;
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(grade::GradeKanjiTables[i], grade_test::kSchoolYearKanji[i]) << "grade " << i + 1;
        all.insert(grade::GradeKanjiTables[i].begin(), grade::GradeKanjiTables[i].end());
    }
    EXPECT_EQ(all.size(), 1026u);
}

TEST(GradeKanjiTables, GradeFourHoldsThePrefectureKanji) {
    for (const char16_t unit : std::u16string_view(u"茨媛岡潟岐熊香佐埼崎滋鹿縄井沖栃奈梨阪阜")) {
        EXPECT_EQ(grade::FindGradeOfKanji(unit), 4) << static_cast<int>(unit);
    }
}

TEST(FindGradeOfKanji, AgreesWithTheOrderedSearchForEveryKanji) {
    int listed = 0;
    for (uint32_t u = 0; u <= 0xFFFF; ++u) {
        const auto unit = static_cast<char16_t>(u);
        if (!grade::IsKanji(unit)) continue;
        const int expected = SearchLists(unit);
        ASSERT_EQ(grade::FindGradeOfKanji(unit), expected) << std::hex << u;
        if (expected < 7) ++listed;
    }
    EXPECT_EQ(listed, 1026);
}

TEST(ClassifyChar, PutsEachRangeEndInItsClass) {
    struct Case {
        char16_t unit;
        CharClass char_class;
        int grade;
    };
    const Case cases[] = {
        // Kana and their neighbours in the kana blocks.
        {0x3040, CharClass::Other, 0},   {0x3041, CharClass::Kana, 1},
        {0x3094, CharClass::Kana, 1},    {0x3095, CharClass::Other, 0},
        {0x309D, CharClass::Other, 0},   {0x30A0, CharClass::Other, 0},
        {0x30A1, CharClass::Kana, 1},    {0x30F4, CharClass::Kana, 1},
        {0x30F5, CharClass::Other, 0},   {0x30F6, CharClass::Other, 0},
        {0x30FB, CharClass::Other, 0},   {0x30FC, CharClass::Kana, 1},
        {0x30FD, CharClass::Other, 0},   {0x30FF, CharClass::Other, 0},
        {0xFF71, CharClass::Other, 0},  // half-width katakana
        // Letters, ASCII and full-width.
        {u'@', CharClass::Other, 0},     {u'A', CharClass::Latin, 3},
        {u'Z', CharClass::Latin, 3},     {u'[', CharClass::Other, 0},
        {u'`', CharClass::Other, 0},     {u'a', CharClass::Latin, 3},
        {u'z', CharClass::Latin, 3},     {u'{', CharClass::Other, 0},
        {0xFF20, CharClass::Other, 0},   {0xFF21, CharClass::Latin, 3},
        {0xFF3A, CharClass::Latin, 3},   {0xFF3B, CharClass::Other, 0},
        {0xFF40, CharClass::Other, 0},   {0xFF41, CharClass::Latin, 3},
        {0xFF5A, CharClass::Latin, 3},   {0xFF5B, CharClass::Other, 0},
        // Digits, ASCII and full-width.
        {u'/', CharClass::Other, 0},     {u'0', CharClass::Digit, 1},
        {u'9', CharClass::Digit, 1},     {u':', CharClass::Other, 0},
        {0xFF0F, CharClass::Other, 0},   {0xFF10, CharClass::Digit, 1},
        {0xFF19, CharClass::Digit, 1},   {0xFF1A, CharClass::Other, 0},
        // 々 comes before the kanji test; 〆 is no kanji, 〇 one in no list.
        {0x3004, CharClass::Other, 0},   {0x3005, CharClass::IterationMark, 3},
        {0x3006, CharClass::Other, 0},   {0x3007, CharClass::Kanji, 7},
        // Ideographs: Extension A, the unified block, compatibility ones.
        {0x33FF, CharClass::Other, 0},   {0x3400, CharClass::Kanji, 7},
        {0x4DBF, CharClass::Kanji, 7},   {0x4DFF, CharClass::Kanji, 7},
        {0x4E00, CharClass::Kanji, 1},   {0x732B, CharClass::Kanji, 7},
        {0x9FFF, CharClass::Kanji, 7},   {0xA000, CharClass::Other, 0},
        {0xF8FF, CharClass::Other, 0},   {0xF900, CharClass::Kanji, 7},
        {0xFAFF, CharClass::Kanji, 7},   {0xFB00, CharClass::Other, 0},
        // Named in the curriculum's lists.
        {u'城', CharClass::Kanji, 4},    {u'俵', CharClass::Kanji, 6},
        // Surrogates, spaces, controls and the replacement character.
        {0xD800, CharClass::Other, 0},   {0xDBFF, CharClass::Other, 0},
        {0xDC00, CharClass::Other, 0},   {0xDFFF, CharClass::Other, 0},
        {0x0000, CharClass::Other, 0},   {u' ', CharClass::Other, 0},
        {0x3000, CharClass::Other, 0},   {0xFFFD, CharClass::Other, 0},
    };
    for (const Case& c : cases) {
        const grade::CharGrade got = grade::ClassifyChar(c.unit);
        EXPECT_EQ(got.char_class, c.char_class) << std::hex << static_cast<int>(c.unit);
        EXPECT_EQ(got.grade, c.grade) << std::hex << static_cast<int>(c.unit);
    }
    // The iteration mark passes the kanji test but never reaches the lists.
    EXPECT_TRUE(grade::IsKanji(0x3005));
}

TEST(GradeLabel, NamesEveryGradeAndTakesAnyAboveSixAsSeven) {
    const std::u16string_view labels[] = {
        u"Grade 0／幼稚園児",   u"Grade 1／小学一年生", u"Grade 2／小学二年生", u"Grade 3／小学三年生",
        u"Grade 4／小学四年生", u"Grade 5／小学五年生", u"Grade 6／小学六年生", u"Grade 7+／中学生以上",
    };
    for (size_t g = 0; g < std::size(labels); ++g) {
        EXPECT_EQ(grade::GradeLabel(static_cast<int>(g)), labels[g]) << g;
    }
    EXPECT_EQ(grade::GradeLabel(8), labels[7]);
    EXPECT_EQ(grade::GradeLabel(-1), labels[0]);
}

}  // namespace
