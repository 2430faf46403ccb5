// zepkit lookup: drawings, as JSON Lines, looked up among the imported set.
#pragma once

#include <string>
#include <vector>

namespace zepkit {

// words are the command's own: [FILE]. Reads FILE, or standard input, and
// writes one line of candidates per drawing line (blank lines are skipped).
// Returns the exit code: 0 when every line was looked up, 1 when the model
// or the set cannot be read or a line is not a drawing (one message naming
// it, and no results at all), 2 for words it does not take (with the usage).
int LookupCommand(const std::vector<std::u16string>& words);

}  // namespace zepkit
