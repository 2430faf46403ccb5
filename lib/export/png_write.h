// PNG files of bitmaps, pixel for pixel.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "gfx/bitmap.h"

namespace player {

// A 32-bit bitmap as an 8-bit RGB PNG file; nothing for a 1-bit one. With a
// resolution (pixels per metre), the file says it, so that it prints at that
// size; without, programs print it as they like.
[[nodiscard]] std::optional<std::vector<uint8_t>> EncodePng(const gfx::Bitmap& bitmap,
                                                          uint32_t pixels_per_metre = 0);

// Writes that file in place of path's contents, or nothing (invalid_argument
// for a 1-bit bitmap).
bool SavePng(const std::filesystem::path& path, const gfx::Bitmap& bitmap, std::error_code& ec,
             uint32_t pixels_per_metre = 0);

}  // namespace player
