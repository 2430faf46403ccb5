// Pictures to trace: BMP files of every kind that drawing programs write
// (1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or top-down) and PNG
// files, decoded to 32-bit RGB with any alpha ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "gfx/bitmap.h"

namespace rgn {

// Pictures beyond these bounds are refused before anything is allocated for
// their pixels: a file is read whole, and the decoder needs 3 bytes per pixel.
inline constexpr size_t kMaxPictureFileSize = size_t{1} << 28;
inline constexpr int64_t kMaxPicturePixels = int64_t{1} << 24;

// The picture held in a file's bytes, or nothing when they are not a picture
// we can decode (unknown format, unsupported kind, corrupt, truncated, too big).
std::optional<gfx::Bitmap> DecodePicture(std::span<const uint8_t> bytes);

// Reads and decodes a picture file; nothing when it cannot be read or decoded.
std::optional<gfx::Bitmap> LoadPicture(const std::string& path);

}  // namespace rgn
