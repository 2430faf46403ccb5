#include "test_picture.h"

#include <algorithm>
#include <stdexcept>

#include "gfx/little_endian.h"

namespace rgntest {

Picture WhitePicture(int32_t width, int32_t height) {
    return {width, height,
            std::vector<gfx::Color>(static_cast<size_t>(width) * static_cast<size_t>(height),
                                    gfx::kWhite)};
}

gfx::Region BlackPixels(const Picture& picture) {
    std::vector<gfx::Rect> rects;
    for (int32_t y = 0; y < std::min(picture.height, 254); ++y) {
        for (int32_t x = 0; x < std::min(picture.width, 254); ++x) {
            if (picture.at(x, y) == gfx::kBlack) rects.push_back({x, y, x + 1, y + 1});
        }
    }
    return gfx::Region::FromRects(rects);
}

rgn::BlackSquare ToBlackSquare(const Picture& picture) {
    rgn::BlackSquare square{picture.width, picture.height, {}};
    for (int32_t y = 0; y < std::min(picture.height, 254); ++y) {
        for (int32_t x = 0; x < std::min(picture.width, 254); ++x) {
            if (picture.at(x, y) == gfx::kBlack) square.black.Set(y, x);
        }
    }
    return square;
}

void SetLe32(std::vector<uint8_t>& file, size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

namespace {

void PutBe32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

uint32_t Crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
    PutBe32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBe32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks.
std::vector<uint8_t> Stored(const std::vector<uint8_t>& data) {
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min<size_t>(data.size() - at, 65535);
        out.push_back(at + n == data.size() ? 1 : 0);
        gfx::PutLe16(out, static_cast<uint32_t>(n));
        gfx::PutLe16(out, static_cast<uint32_t>(~n & 0xFFFF));
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                   data.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
    } while (at < data.size());
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : data) a = (a + byte) % 65521, b = (b + a) % 65521;
    PutBe32(out, b << 16 | a);
    return out;
}

}  // namespace

std::vector<uint8_t> WritePng(int32_t width, int32_t height, int bit_depth, int colour_type,
                              const std::vector<uint8_t>& filtered_rows,
                              const std::vector<PngChunk>& chunks) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    PutBe32(header, static_cast<uint32_t>(width));
    PutBe32(header, static_cast<uint32_t>(height));
    header.insert(header.end(),
                  {static_cast<uint8_t>(bit_depth), static_cast<uint8_t>(colour_type), 0, 0, 0});
    PutChunk(out, "IHDR", header);
    for (const auto& [type, data] : chunks) PutChunk(out, type.c_str(), data);
    PutChunk(out, "IDAT", Stored(filtered_rows));
    PutChunk(out, "IEND", {});
    return out;
}

std::vector<uint8_t> WriteBmp(const Picture& picture, int bits_per_pixel, RowOrder order,
                              BmpHeader header) {
    const auto bits = static_cast<uint32_t>(bits_per_pixel);
    const bool v5 = header == BmpHeader::V5;
    // The V5 header's masks: 5-6-5 for 16 bits, BGRA for 32.
    const bool masks = v5 && (bits == 16 || bits == 32);
    std::vector<gfx::Color> palette;
    if (bits <= 8) {
        for (const gfx::Color& c : picture.pixels) {
            if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
        }
        if (palette.size() > (size_t{1} << bits)) throw std::invalid_argument("too many colours");
    }
    const auto width = static_cast<uint32_t>(picture.width);
    const auto height = static_cast<uint32_t>(picture.height);
    const uint32_t row_size = (width * bits + 31) / 32 * 4;
    const uint32_t info_size = v5 ? 124 : 40;
    const auto data_offset = static_cast<uint32_t>(14 + info_size + 4 * palette.size());

    std::vector<uint8_t> out{'B', 'M'};
    gfx::PutLe32(out, data_offset + row_size * height);
    gfx::PutLe32(out, 0);
    gfx::PutLe32(out, data_offset);
    gfx::PutLe32(out, info_size);
    gfx::PutLe32(out, width);
    gfx::PutLe32(out, order == RowOrder::TopDown ? 0u - height : height);
    gfx::PutLe16(out, 1);
    gfx::PutLe16(out, bits);
    gfx::PutLe32(out, masks ? 3 : 0);  // bit fields or no compression
    gfx::PutLe32(out, row_size * height);
    gfx::PutLe32(out, 2835);
    gfx::PutLe32(out, 2835);
    gfx::PutLe32(out, static_cast<uint32_t>(palette.size()));
    gfx::PutLe32(out, 0);
    if (v5) {
        const bool rgb565 = bits == 16;
        for (uint32_t mask : {rgb565 ? 0xF800u : 0x00FF0000u, rgb565 ? 0x07E0u : 0xFF00u,
                              rgb565 ? 0x001Fu : 0xFFu, rgb565 ? 0u : 0xFF000000u}) {
            gfx::PutLe32(out, masks ? mask : 0);
        }
        gfx::PutLe32(out, 0x73524742);         // 'sRGB'
        out.resize(out.size() + 124 - 60, 0);  // end points, gamma, intent, no profile
    }
    for (const gfx::Color& c : palette) out.insert(out.end(), {c.b, c.g, c.r, 0});

    for (uint32_t row = 0; row < height; ++row) {
        const auto y = static_cast<int32_t>(order == RowOrder::TopDown ? row : height - 1 - row);
        std::vector<uint8_t> line(row_size);
        for (int32_t x = 0; x < picture.width; ++x) {
            const gfx::Color c = picture.at(x, y);
            const auto ux = static_cast<uint32_t>(x);
            if (bits <= 8) {
                const auto index = static_cast<uint32_t>(
                    std::find(palette.begin(), palette.end(), c) - palette.begin());
                const uint32_t bit = ux * bits;
                line[bit / 8] = static_cast<uint8_t>(line[bit / 8] | index << (8 - bits - bit % 8));
            } else if (bits == 16) {
                const auto v =
                    static_cast<uint32_t>(masks ? (c.r >> 3) << 11 | (c.g >> 2) << 5 | c.b >> 3
                                                : (c.r >> 3) << 10 | (c.g >> 3) << 5 | c.b >> 3);
                line[2 * ux] = static_cast<uint8_t>(v);
                line[2 * ux + 1] = static_cast<uint8_t>(v >> 8);
            } else {
                const uint32_t step = bits / 8;
                line[step * ux] = c.b;
                line[step * ux + 1] = c.g;
                line[step * ux + 2] = c.r;
                if (bits == 32) line[step * ux + 3] = c == gfx::kBlack ? 0 : 255;
            }
        }
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

}  // namespace rgntest
