// The words of the process's command line as UTF-16 text.
#pragma once

#include <string>
#include <vector>

namespace sys {

// Word 0 is the program itself. On POSIX the words are main's arguments,
// decoded from UTF-8 (see Utf8ToUtf16). On Windows argc and argv are not
// used: the words come from the wide command line split by the system's
// rules, and a line that cannot be split gives no words at all.
std::vector<std::u16string> CommandLineWords(int argc, char** argv);

}  // namespace sys
