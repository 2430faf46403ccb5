// zepkit judge: practice sessions, as JSON Lines, judged stroke by stroke.
#pragma once

#include <string>
#include <vector>

namespace zepkit {

// words are the command's own: SOURCE [--leniency F] [FILE]. Reads FILE, or
// standard input, and writes one result line per session line (blank lines
// are skipped). Returns the exit code: 0 when every line was judged, 1 when
// the source cannot be read or a line is not a session (one message naming
// it, and no results at all), 2 for words it does not take (with the usage).
int JudgeCommand(const std::vector<std::u16string>& words);

}  // namespace zepkit
