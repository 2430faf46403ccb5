#include "dorvik/grading.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

#include "grades/tables.h"

namespace grade {

namespace {

NoteFlags process_notes;

// What follows 「X」 in the line of a kanji of grade 1 to 7 (index 0 is grade 1).
constexpr std::array<std::u16string_view, 7> kKanjiLineEnds = {
    u"」 は小学一年生の漢字です。\n", u"」 は小学二年生の漢字です。\n",
    u"」 は小学三年生の漢字です。\n", u"」 は小学四年生の漢字です。\n",
    u"」 は小学五年生の漢字です。\n", u"」 は小学六年生の漢字です。\n",
    u"」 は中学生以上の漢字です。\n",
};

constexpr std::u16string_view kKanaNote = u"カナを習うのは、小学一年生から。\n";
constexpr std::u16string_view kDigitNote = u"数字を習うのは、小学一年生から。\n";
constexpr std::u16string_view kLatinNote = u"英語を習うのは、小学三年生から。\n";
constexpr std::u16string_view kIterationMarkNote = u"「々」を習うのは、小学三年生から。\n";

void NoteOnce(bool& said, bool verbose, std::u16string_view note, const TextSink& out) {
    if (said) return;
    said = true;
    if (verbose) out(note);
}

void WriteKanjiLine(char16_t kanji, int grade, const TextSink& out) {
    std::u16string line = u"「";
    line += kanji;
    line += kKanjiLineEnds[static_cast<size_t>(grade - 1)];
    out(line);
}

}  // namespace

std::u16string_view TrimWhitespace(std::u16string_view text) {
    const size_t first = text.find_first_not_of(kWhitespace);
    if (first == std::u16string_view::npos) return {};
    const size_t last = text.find_last_not_of(kWhitespace);
    return text.substr(first, last - first + 1);
}

int GradeTextWithNotes(std::u16string_view text, bool verbose, NoteFlags& notes,
                       const TextSink& out) {
    int grade = 0;
    for (const char16_t unit : TrimWhitespace(text)) {
        const CharGrade c = ClassifyChar(unit);
        switch (c.char_class) {
        case CharClass::Kana:
            NoteOnce(notes.kana, verbose, kKanaNote, out);
            break;
        case CharClass::Latin:
            NoteOnce(notes.latin, verbose, kLatinNote, out);
            break;
        case CharClass::Digit:
            NoteOnce(notes.digit, verbose, kDigitNote, out);
            break;
        case CharClass::IterationMark:
            NoteOnce(notes.iteration_mark, verbose, kIterationMarkNote, out);
            break;
        case CharClass::Kanji:
            if (verbose) WriteKanjiLine(unit, c.grade, out);
            break;
        case CharClass::Other:
            break;
        }
        grade = std::max(grade, c.grade);
    }
    std::u16string result = u"\nResult: ";
    result += GradeLabel(grade);
    result += u'\n';
    out(result);
    return grade;
}

int GradeText(std::u16string_view text, bool verbose, const TextSink& out) {
    return GradeTextWithNotes(text, verbose, process_notes, out);
}

}  // namespace grade
