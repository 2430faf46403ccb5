// Runs a program as a child process and collects what it writes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testsupport {

struct ChildRun {
    // Standard output; Windows line ends ("\r\n") come back as "\n".
    std::string output;
    // -1 when the program could not start or did not end by itself; on POSIX
    // the low 8 bits of the code, on Windows the whole of it.
    int exit_code = -1;
    friend bool operator==(const ChildRun&, const ChildRun&) = default;
};

enum class ErrorOutput { Discard, WithOutput };

// Runs the program with exactly these arguments (UTF-8 text, passed to the
// program as separate words, whatever they hold), in the folder `dir` or in
// the current one when it is empty. Standard input is empty; standard error
// is discarded or goes into `output` with standard output. Waits for the program to end. A relative program path
// is taken from the current folder, not from `dir`. On Windows, start one
// child at a time: each inherits every handle made inheritable meanwhile.
ChildRun RunChild(const std::filesystem::path& program, const std::vector<std::string>& args,
                  const std::filesystem::path& dir = {},
                  ErrorOutput errors = ErrorOutput::Discard);

}  // namespace testsupport
