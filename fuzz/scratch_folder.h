// Files for the targets that read their input from disk, as the programs do.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "fuzz_targets.h"

namespace zepfuzz {

// One folder per process, in memory where the system has such a place.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name) {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        path_ = base / (name + "_" + std::to_string(getpid()));
        std::filesystem::create_directories(path_, ec);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary);
    Require(file.is_open(), "the scratch folder takes a file");
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    Require(!file.fail(), "the scratch folder takes a file's bytes");
}

}  // namespace zepfuzz
