// Helpers of the generated-file tests: a scratch folder, whole files as bytes,
// and running the real programs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace samples_test {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline const fs::path kSourceDir = SOURCE_DIR;

using testsupport::TempDir;

// The file's bytes; none when it cannot be read.
Bytes ReadBytes(const fs::path& path);

// Runs the program with the arguments, its output discarded, and returns its
// exit code (-1 when it did not end normally).
int RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace samples_test
