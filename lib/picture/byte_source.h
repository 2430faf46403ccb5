// Where a picture's bytes come from: a file, read only where the decoder
// looks, or bytes already in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "sys/input_file.h"

namespace rgn {

// Why a picture was refused. felmar prints one message for all of them; the
// reason is for the tests and the fuzz targets.
enum class Refusal {
    Unreadable,   // the file cannot be opened or read, or is no regular file
    Unsupported,  // not a kind of picture we read (another format, a BMP holding a JPEG)
    Corrupt,      // its fields contradict each other or name colours it lacks
    Truncated,    // the file ends before the picture does
    TooLarge,     // decoding would need more memory than we give it
};

class ByteSource {
public:
    virtual ~ByteSource() = default;
    [[nodiscard]] virtual uint64_t size() const = 0;
    // Fills out from offset on; the count read, short only at the end, or
    // nothing after a read error.
    virtual std::optional<size_t> ReadAt(uint64_t offset, std::span<uint8_t> out) const = 0;
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    [[nodiscard]] uint64_t size() const override { return bytes_.size(); }
    std::optional<size_t> ReadAt(uint64_t offset, std::span<uint8_t> out) const override;

private:
    std::span<const uint8_t> bytes_;
};

class FileSource final : public ByteSource {
public:
    explicit FileSource(sys::InputFile file) : file_(std::move(file)) {}
    [[nodiscard]] uint64_t size() const override { return file_.size(); }
    std::optional<size_t> ReadAt(uint64_t offset, std::span<uint8_t> out) const override;

private:
    sys::InputFile file_;
};

// Nothing when out was filled; Truncated when the bytes end first.
std::optional<Refusal> ReadExactly(const ByteSource& source, uint64_t offset,
                                   std::span<uint8_t> out);

}  // namespace rgn
