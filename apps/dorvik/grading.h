// Grading of a whole text: the highest grade that any of its characters
// needs, with an explanation per kanji when asked.
#pragma once

#include <functional>
#include <string_view>

namespace grade {

// Where the grading writes its lines, as UTF-16 text.
using TextSink = std::function<void(std::u16string_view)>;

// Which classes' notes have been written. A note is said once: the first
// character of its class sets the flag, whether verbose is on or not.
struct NoteFlags {
    bool kana = false;
    bool digit = false;
    bool latin = false;
    bool iteration_mark = false;
};

// Space, tab, carriage return, line feed and the ideographic space.
inline constexpr std::u16string_view kWhitespace = u" \t\r\n\u3000";

// The text without whitespace at either end; whitespace inside stays.
std::u16string_view TrimWhitespace(std::u16string_view text);

// Grades the trimmed text and returns its grade, 0 to 7. When verbose, writes
// a line for every kanji (repeats included) and each class's note at its
// first character; always ends with an empty line and the "Result: " line.
int GradeTextWithNotes(std::u16string_view text, bool verbose, NoteFlags& notes,
                       const TextSink& out);

// GradeTextWithNotes with the notes of the whole process, so a note written
// once is never written again by a later call.
int GradeText(std::u16string_view text, bool verbose, const TextSink& out);

}  // namespace grade
