// A file opened for reading, known to be a regular file. Opening never blocks:
// a FIFO, a device or a folder is refused at once, before anything is read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <system_error>

namespace sys {

class InputFile {
public:
    // Nothing when the file cannot be opened (the system's reason in ec), is a
    // folder (is_a_directory) or is anything else but a regular file
    // (invalid_argument).
    static std::optional<InputFile> Open(const std::filesystem::path& path, std::error_code& ec);

    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // The size when the file was opened.
    [[nodiscard]] uint64_t size() const { return size_; }

    // Fills out from offset on; the count read, which is short only at the
    // end of the file, or nothing after a read error (the reason in ec).
    std::optional<size_t> ReadAt(uint64_t offset, std::span<uint8_t> out, std::error_code& ec) const;

private:
    InputFile(int fd, uint64_t size) : fd_(fd), size_(size) {}
    int fd_ = -1;
    uint64_t size_ = 0;
};

}  // namespace sys
