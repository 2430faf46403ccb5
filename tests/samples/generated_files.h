// Helpers of the generated-file tests: a scratch folder, whole files as bytes,
// and running the real programs.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace samples_test {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline const fs::path kSourceDir = SOURCE_DIR;

// A fresh folder, removed with everything in it at the end of its scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

// The file's bytes; none when it cannot be read.
Bytes ReadBytes(const fs::path& path);

// Runs the program with the arguments, its output discarded, and returns its
// exit code (-1 when it did not end normally).
int RunProgram(const std::string& program, const std::vector<std::string>& args);

}  // namespace samples_test
