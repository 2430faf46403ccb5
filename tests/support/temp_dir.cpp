#include "support/temp_dir.h"

#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

namespace testsupport {

namespace fs = std::filesystem;

TempDir::TempDir(std::string_view prefix) {
    std::random_device seed;
    std::mt19937_64 random(static_cast<uint64_t>(seed()) << 32 | seed());
    const fs::path base = fs::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%016llx", static_cast<unsigned long long>(random()));
        const fs::path candidate = base / (std::string(prefix) + suffix);
        std::error_code ec;
        // True only for the one who made it.
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("no temporary folder could be made under " + base.string());
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

}  // namespace testsupport
