#include "dorvik/grading.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::u16string kResult0 = u"\nResult: Grade 0／幼稚園児\n";
const std::u16string kResult1 = u"\nResult: Grade 1／小学一年生\n";
const std::u16string kResult3 = u"\nResult: Grade 3／小学三年生\n";
const std::u16string kResult7 = u"\nResult: Grade 7+／中学生以上\n";
const std::u16string kKanaNote = u"カナを習うのは、小学一年生から。\n";
const std::u16string kDigitNote = u"数字を習うのは、小学一年生から。\n";
const std::u16string kLatinNote = u"英語を習うのは、小学三年生から。\n";
const std::u16string kIterationNote = u"「々」を習うのは、小学三年生から。\n";

// Grades with notes of its own, as a fresh process would.
struct Graded {
    std::u16string output;
    int grade;
};

Graded Grade(std::u16string_view text, bool verbose, grade::NoteFlags& notes) {
    Graded g;
    g.grade = grade::GradeTextWithNotes(text, verbose, notes,
                                        [&g](std::u16string_view s) { g.output += s; });
    return g;
}

Graded Grade(std::u16string_view text, bool verbose) {
    grade::NoteFlags notes;
    return Grade(text, verbose, notes);
}

TEST(GradeText, WritesLinesNotesAndResult) {
    struct Case {
        const char* name;
        std::u16string text;
        bool verbose;
        std::u16string output;
        int grade;
    };
    const std::vector<Case> cases = {
        {"empty", u"", true, kResult0, 0},
        {"only whitespace", u" \t\r\n\u3000", true, kResult0, 0},
        {"punctuation is skipped silently", u"。、！？", true, kResult0, 0},
        {"two kanji", u"漢字", true,
         u"「漢」 は小学三年生の漢字です。\n「字」 は小学一年生の漢字です。\n" + kResult3, 3},
        {"two kanji, quiet", u"漢字", false, kResult3, 3},
        {"hiragana and katakana share one note", u"あア", true, kKanaNote + kResult1, 1},
        {"ascii and full-width digits", u"1１", true, kDigitNote + kResult1, 1},
        {"ascii and full-width letters", u"aＺ", true, kLatinNote + kResult3, 3},
        {"iteration mark has a note, no line", u"人々", true,
         u"「人」 は小学一年生の漢字です。\n" + kIterationNote + kResult3, 3},
        {"kanji in no list", u"〇", true, u"「〇」 は中学生以上の漢字です。\n" + kResult7, 7},
        {"grade never falls", u"猫一", true,
         u"「猫」 は中学生以上の漢字です。\n「一」 は小学一年生の漢字です。\n" + kResult7, 7},
        {"every repeat has its line", u"字字字", true,
         u"「字」 は小学一年生の漢字です。\n「字」 は小学一年生の漢字です。\n"
         u"「字」 は小学一年生の漢字です。\n" + kResult1, 1},
        {"half-width kana and a pair are skipped", u"ｱ\xD83D\xDE00", true, kResult0, 0},
        {"whitespace inside is skipped", u"漢\u3000字", true,
         u"「漢」 は小学三年生の漢字です。\n「字」 は小学一年生の漢字です。\n" + kResult3, 3},
        {"notes stand at their first character", u"a漢あ1b", true,
         kLatinNote + u"「漢」 は小学三年生の漢字です。\n" + kKanaNote + kDigitNote + kResult3, 3},
    };
    for (const Case& c : cases) {
        const Graded g = Grade(c.text, c.verbose);
        EXPECT_EQ(g.output, c.output) << c.name;
        EXPECT_EQ(g.grade, c.grade) << c.name;
    }
}

TEST(GradeText, AQuietRunStillUsesUpTheNotes) {
    grade::NoteFlags notes;
    EXPECT_EQ(Grade(u"あ1a々", false, notes).output, kResult3);
    EXPECT_EQ(Grade(u"あ1a々", true, notes).output, kResult3);
}

TEST(GradeText, WritesANoteOncePerProcess) {
    std::u16string first;
    std::u16string second;
    grade::GradeText(u"々", true, [&first](std::u16string_view s) { first += s; });
    grade::GradeText(u"々", true, [&second](std::u16string_view s) { second += s; });
    // The first call says the note unless an earlier test of this process did.
    EXPECT_TRUE(first.ends_with(kResult3));
    EXPECT_EQ(second, kResult3);
}

TEST(TrimWhitespace, CutsOnlyTheEnds) {
    EXPECT_EQ(grade::TrimWhitespace(u"\u3000 \t漢 字\r\n"), u"漢 字");
    EXPECT_EQ(grade::TrimWhitespace(u"\n\u3000"), u"");
    EXPECT_EQ(grade::TrimWhitespace(u"字"), u"字");
    EXPECT_EQ(grade::TrimWhitespace(u"\u3001字\u3001"), u"\u3001字\u3001");
}

}  // namespace
