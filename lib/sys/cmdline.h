// The words of the process's command line as UTF-16 text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sys {

// Word 0 is the program itself. On POSIX the words are main's arguments,
// decoded from UTF-8 (see Utf8ToUtf16). On Windows argc and argv are not
// used: the words come from the wide command line split by SplitCommandLine.
std::vector<std::u16string> CommandLineWords(int argc, char** argv);

#ifdef _WIN32
// The words of a wide command line by the system's rules, word 0 being the
// program; a line that cannot be split gives no words at all. A null
// character ends the line.
std::vector<std::u16string> SplitCommandLine(std::u16string_view line);

// The command line that SplitCommandLine splits back into words: a word is
// quoted when it is empty or holds a blank or a quote, a quote in it is
// escaped by a backslash, and backslashes are doubled where a quote follows
// them. Word 0 must hold no quote.
std::u16string JoinCommandLine(const std::vector<std::u16string>& words);
#endif

}  // namespace sys
