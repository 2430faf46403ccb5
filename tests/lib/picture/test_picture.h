// Pictures for the tests, and a BMP writer for the kinds that drawing
// programs produce.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "gfx/bitmap.h"
#include "gfx/region.h"
#include "picture/picture.h"

namespace rgntest {

struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<gfx::Color> pixels;  // row by row from the top

    size_t index(int32_t x, int32_t y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    }
    gfx::Color& at(int32_t x, int32_t y) { return pixels[index(x, y)]; }
    const gfx::Color& at(int32_t x, int32_t y) const { return pixels[index(x, y)]; }
};

Picture WhitePicture(int32_t width, int32_t height);

// The black pixels of the picture's top-left 254 by 254 square.
gfx::Region BlackPixels(const Picture& picture);

// The picture as the decoders give it: its black pixels in the top-left square.
rgn::BlackSquare ToBlackSquare(const Picture& picture);

enum class RowOrder { BottomUp, TopDown };
// The 40-byte info header, or the 124-byte one with colour masks.
enum class BmpHeader { Info, V5 };

// A BMP file. With 1, 4 or 8 bits per pixel the colour table holds the
// picture's colours in order of first appearance (there must be few enough);
// 16 bits are 5-5-5, or 5-6-5 bit fields with the V5 header (colours lose
// their low bits); 32 bits carry an alpha byte, 0 for black pixels, which the
// reader must ignore, and are bit fields with the V5 header.
std::vector<uint8_t> WriteBmp(const Picture& picture, int bits_per_pixel, RowOrder order,
                              BmpHeader header = BmpHeader::Info);

// A PNG file of the given rows (filter bytes included), bit depth and colour
// type, its image data stored uncompressed.
// Chunks such as PLTE and tRNS go before the image data.
using PngChunk = std::pair<std::string, std::vector<uint8_t>>;
std::vector<uint8_t> WritePng(int32_t width, int32_t height, int bit_depth, int colour_type,
                              const std::vector<uint8_t>& filtered_rows,
                              const std::vector<PngChunk>& chunks = {});

void SetLe32(std::vector<uint8_t>& file, size_t at, uint32_t v);

}  // namespace rgntest
