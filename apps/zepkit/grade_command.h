// zepkit grade: the kanji of a text with their school grades, so that a
// teacher sees which ones a class has not learnt yet.
#pragma once

#include <string>
#include <vector>

namespace zepkit {

// words are the command's own: FILE [--above N] [--list]. Writes one line
// per kanji (the kanji, its grade and how often it occurs, tab-separated),
// in the order of the text, those above grade N first; with --list only those
// kanji, on one line. Returns 0, 1 when the file cannot be read (with one
// message on standard error) or 2 for words it does not take (with the usage).
int GradeCommand(const std::vector<std::u16string>& words);

}  // namespace zepkit
