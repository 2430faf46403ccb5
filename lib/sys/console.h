// Text output to the console in the user's encoding.
//
// Everything reaches standard output as bytes through the narrow stream, so
// wide and narrow writes never clash over the stream's orientation.
#pragma once

#include <string>
#include <string_view>

namespace sys {

// Sets the character-type locale (LC_CTYPE) to the user's default. When that
// locale is not installed the C locale stays, which EncodeForConsole handles.
void UseUserLocale();

// The text in the encoding of the current LC_CTYPE locale. A character that
// the encoding cannot hold is written as UTF-8 instead: under the C locale,
// as on a build server, the whole text comes out as UTF-8 rather than lost,
// and under a UTF-8 locale the bytes are the same as the locale's.
std::string EncodeForConsole(std::u16string_view text);

// Writes the text to standard output, encoded as above. On Windows a
// console gets the characters themselves, and output to a file or a pipe
// waits for FlushOutput, which encodes all of it as EncodeForRedirectedOutput
// does with the user's code page; a "\n" becomes "\r\n" there.
void WriteText(std::u16string_view text);

// Writes narrow text as it stands and then a newline.
void WriteNarrowLine(std::string_view line);

// Call before the program ends.
void FlushOutput();

#ifdef _WIN32
// The whole text in the code page when every character of it has its own
// code there (no best fit, no default character), else the whole text as
// UTF-8: one encoding in one output, never a mixture.
std::string EncodeForRedirectedOutput(std::u16string_view text, unsigned code_page);
#endif

// A write to a pipe whose reader has gone then fails like any other write
// error instead of ending the process with SIGPIPE. POSIX only: on Windows
// such a write fails already.
void IgnoreBrokenPipe();

// Whether standard error goes to a terminal, where a line redrawn in place
// shows progress; in a file or a pipe it would be noise.
[[nodiscard]] bool ErrorOutputIsTerminal();

}  // namespace sys
