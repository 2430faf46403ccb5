// Saving a bitmap as a Windows bitmap file: file header, info header, colour
// table and bottom-up pixel rows, uncompressed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

#include "gfx/bitmap.h"

namespace player {

// The whole file: for the 254 by 254 one-bit canvas 8,190 bytes, the colour
// table black then white. No bytes when the file would pass 4 GiB.
std::optional<std::vector<uint8_t>> EncodeBitmapFile(const gfx::Bitmap& bitmap);

// Writes the file, replacing an existing one only once the whole new file is
// on disk: a failed save leaves no partial file and the old file as it was.
// ec holds the reason on failure and is cleared on success.
bool SaveBitmapFile(const std::filesystem::path& path, const gfx::Bitmap& bitmap, std::error_code& ec);

}  // namespace player
