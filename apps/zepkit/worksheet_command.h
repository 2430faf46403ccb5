// zepkit worksheet: the teacher's practice sheet of some characters as a PDF.
#pragma once

#include <string>
#include <vector>

namespace zepkit {

// words are the command's own: CHARACTERS... OUT.pdf [--paper a4|letter]
// [--rows N]. Each word before OUT is a script, or characters of the
// imported set. Returns 0 when written; 1 when a character or script cannot
// be had, the rows do not fit a page or the output fails; 2 for words it
// does not take. One message on standard error for either, and nothing written.
int WorksheetCommand(const std::vector<std::u16string>& words);

}  // namespace zepkit
