// A fresh folder of its own, removed with everything in it at the end of its scope.
#pragma once

#include <filesystem>
#include <string_view>

namespace testsupport {

class TempDir {
public:
    // Under the system's temporary folder, named after the prefix and a random
    // part; taking a name that exists is never tried twice, so tests running at
    // the same time in other processes never share a folder. Throws when no
    // folder can be made.
    explicit TempDir(std::string_view prefix = "zep_test");
    // Never throws: what cannot be removed stays.
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace testsupport
