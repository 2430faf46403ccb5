// GIF and PNG files read back by stb_image, which shares no code with our
// writers.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "gfx/bitmap.h"

namespace export_test {

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB row by row; 0xFF000000 where transparent
};

struct Animation {
    std::vector<Picture> frames;  // each one whole, as shown
    std::vector<int32_t> delays_ms;
};

std::optional<Animation> DecodeGif(const std::vector<uint8_t>& bytes);
std::optional<Picture> DecodePng(const std::vector<uint8_t>& bytes);

// A bitmap's pixels in the decoded pictures' layout, for comparing the two.
std::vector<uint32_t> Pixels(const gfx::Bitmap& bitmap);

}  // namespace export_test
