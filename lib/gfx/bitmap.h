// Bitmaps: 32-bit RGB (the screen format) and 1-bit (the save format).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "gfx/geometry.h"
#include "gfx/region.h"

namespace gfx {

struct Color {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Color&, const Color&) = default;
};

inline constexpr Color kWhite{255, 255, 255};
inline constexpr Color kLightGray{192, 192, 192};
inline constexpr Color kGray{128, 128, 128};
inline constexpr Color kBlack{0, 0, 0};
inline constexpr Color kRed{255, 0, 0};

enum class PixelFormat { Rgb32, Mono1 };

// Rows of a bitmap as a device-independent picture: bottom row first, each
// row padded to a multiple of 4 bytes, with the colour table for 1-bit
// pictures (entry 0 black, entry 1 white) and none for 32-bit ones.
struct DibRows {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bits_per_pixel = 0;
    std::vector<Color> color_table;
    std::vector<uint8_t> bits;
};

class Bitmap {
public:
    // A new bitmap is white. Sizes below 1, sides over 65,536 and more than
    // 2^26 pixels give no bitmap, and so does a failed allocation.
    static std::optional<Bitmap> Create(int32_t width, int32_t height, PixelFormat format);

    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    PixelFormat format() const { return format_; }

    // Fills clip to the bitmap. In a 1-bit bitmap a colour becomes the nearer
    // of black and white, as on a monochrome surface: light gray and gray turn
    // white, red turns black.
    void FillRect(const Rect& r, Color c);
    void FillRegion(const Region& region, Color c);
    // Copies src's top-left w by h pixels to (x, y). Into a 1-bit bitmap, white
    // gives 1 and every other colour 0.
    void CopyFrom(const Bitmap& src, int32_t x, int32_t y, int32_t w, int32_t h);
    // The colour at (x, y); nothing outside the bitmap (never black).
    std::optional<Color> GetPixel(int32_t x, int32_t y) const;
    DibRows ToDibRows() const;

    // Row y's pixels, left to right: 0x00RRGGBB in a 32-bit bitmap, 0 (black)
    // or 1 (white) in a 1-bit one. y must lie in [0, height).
    [[nodiscard]] std::span<uint32_t> Row(int32_t y);
    [[nodiscard]] std::span<const uint32_t> Row(int32_t y) const;

private:
    Bitmap(int32_t width, int32_t height, PixelFormat format);
    int32_t width_ = 0;
    int32_t height_ = 0;
    PixelFormat format_ = PixelFormat::Rgb32;
    std::vector<uint32_t> pixels_;  // 0x00RRGGBB, or 0 / 1 for 1-bit bitmaps
};

}  // namespace gfx
