// zepkit gif and zepkit sheet: a character's animation or stroke-order sheet
// as a file.
#pragma once

#include <string>
#include <vector>

namespace zepkit {

// words are the command's own: SOURCE OUT and its options. Returns the exit
// code: 0 when written, 1 when the source or the output fails (with one
// message on standard error, and nothing written), 2 for words it does not
// take (with the usage).
int GifCommand(const std::vector<std::u16string>& words);
int SheetCommand(const std::vector<std::u16string>& words);

}  // namespace zepkit
