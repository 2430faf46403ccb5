// Pictures to trace: BMP files of every kind that the platform's picture
// loader reads, by our own decoder, and PNG files by stb_image. Only the
// black pixels of the top-left canvas square are kept.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <variant>

#include "picture/byte_source.h"
#include "zep/bit_square.h"

namespace rgn {

// A decoded picture: its size, and which pixels of its top-left canvas
// square are exactly black (red, green and blue all 0).
struct BlackSquare {
    int64_t width = 0;
    int64_t height = 0;
    BitSquare black;
};

using PictureResult = std::variant<BlackSquare, Refusal>;

// PNG files are decoded whole in memory, so those beyond this are refused.
inline constexpr uint64_t kMaxPngFileSize = uint64_t{1} << 28;
inline constexpr uint64_t kMaxPngDecodedBytes = uint64_t{1} << 29;

// The picture in a source's bytes, told apart by its first bytes.
PictureResult DecodePicture(const ByteSource& source);
PictureResult DecodePicture(std::span<const uint8_t> bytes);

// Opens a picture file without blocking and decodes it.
PictureResult LoadPicture(const std::filesystem::path& path);

}  // namespace rgn
