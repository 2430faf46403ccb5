#include "rgnconv/picture.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

// The decoder is compiled here, limited to the two formats we read, so that
// sanitizer and fuzzing builds instrument it along with our own code.
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include "gfx/geometry.h"
#include "gfx/little_endian.h"

namespace rgn {
namespace {

using gfx::Le16;
using gfx::Le32;
using gfx::PutLe16;
using gfx::PutLe32;

bool FitsPixelBudget(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPicturePixels / height;
}

constexpr size_t kFileHeaderSize = 14;
constexpr int64_t kCoreHeaderSize = 12;

// Where a BMP's parts lie, from its headers.
struct BmpLayout {
    int64_t data_offset = 0;
    int64_t info_size = 0;
    int64_t width = 0;
    int64_t height = 0;  // negative for top-down rows
    int64_t bits_per_pixel = 0;
    int64_t masks_size = 0;
    int64_t row_size = 0;
};

// stb_image reads missing bytes of a BMP as zeros, which would turn a
// truncated file into black pixels, and it negates a top-down height without
// a range check. So a BMP must show that its headers, masks and pixel rows
// lie inside the file before the decoder sees it.
std::optional<BmpLayout> ReadBmpLayout(std::span<const uint8_t> b) {
    if (b.size() < kFileHeaderSize + 4) return std::nullopt;
    BmpLayout l;
    l.data_offset = Le32(b, 10);
    l.info_size = Le32(b, 14);
    if (l.info_size == kCoreHeaderSize) {  // 16-bit sizes, no compression field
        if (b.size() < kFileHeaderSize + kCoreHeaderSize) return std::nullopt;
        l.width = Le16(b, 18);
        l.height = Le16(b, 20);
        l.bits_per_pixel = Le16(b, 24);
    } else {
        if (b.size() < kFileHeaderSize + 20) return std::nullopt;
        l.width = static_cast<int32_t>(Le32(b, 18));
        l.height = static_cast<int32_t>(Le32(b, 22));
        l.bits_per_pixel = Le16(b, 28);
        constexpr uint32_t kBitfields = 3;
        // The short info headers keep their colour masks after the header.
        if ((l.info_size == 40 || l.info_size == 56) && Le32(b, 30) == kBitfields) l.masks_size = 12;
    }
    const int64_t rows = std::abs(l.height);
    if (!FitsPixelBudget(l.width, rows)) return std::nullopt;
    l.row_size = (l.width * l.bits_per_pixel + 31) / 32 * 4;
    const auto file_size = static_cast<int64_t>(b.size());
    if (l.data_offset < static_cast<int64_t>(kFileHeaderSize) + l.info_size + l.masks_size ||
        l.data_offset > file_size || l.row_size * rows > file_size - l.data_offset) {
        return std::nullopt;
    }
    return l;
}

// The depths with a colour table that the decoder reads; it refuses the others.
bool HasColourTable(const BmpLayout& l) {
    return l.bits_per_pixel == 1 || l.bits_per_pixel == 4 || l.bits_per_pixel == 8;
}

// The colour table fills the bytes between the headers and the pixels: four
// bytes an entry, three after the core header.
int64_t ColourTableEntries(const BmpLayout& l) {
    const int64_t entry_size = l.info_size == kCoreHeaderSize ? 3 : 4;
    return (l.data_offset - static_cast<int64_t>(kFileHeaderSize) - l.info_size) / entry_size;
}

// A pixel may name a colour that a short table lacks; the decoder would then
// read an entry it never set, an arbitrary colour. Such a file is corrupt.
bool IndicesInTable(std::span<const uint8_t> b, const BmpLayout& l) {
    const int64_t entries = ColourTableEntries(l);
    if (entries < 1 || entries > 256) return false;
    if (entries >= (int64_t{1} << l.bits_per_pixel)) return true;
    const auto bits = static_cast<size_t>(l.bits_per_pixel);
    const auto width = static_cast<size_t>(l.width);
    for (int64_t y = 0; y < std::abs(l.height); ++y) {
        const uint8_t* row = b.data() + l.data_offset + y * l.row_size;
        for (size_t x = 0; x < width; ++x) {
            const size_t bit = x * bits;
            const int64_t index = (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            if (index >= entries) return false;
        }
    }
    return true;
}

// The decoder miscounts the core header's table of 3-byte entries, leaving
// its last four entries unset. So such a file goes to it rewritten with the
// 40-byte info header and 4-byte entries, which it reads in full.
std::vector<uint8_t> WidenCoreHeader(std::span<const uint8_t> b, const BmpLayout& l) {
    constexpr uint32_t kInfoSize = 40;
    const int64_t entries = ColourTableEntries(l);
    const auto data_offset = static_cast<uint32_t>(kFileHeaderSize + kInfoSize + 4 * static_cast<size_t>(entries));
    const auto pixels = b.subspan(static_cast<size_t>(l.data_offset));
    std::vector<uint8_t> out;
    out.reserve(data_offset + pixels.size());
    out.insert(out.end(), {'B', 'M'});
    PutLe32(out, static_cast<uint32_t>(data_offset + pixels.size()));
    PutLe32(out, 0);
    PutLe32(out, data_offset);
    PutLe32(out, kInfoSize);
    PutLe32(out, static_cast<uint32_t>(l.width));
    PutLe32(out, static_cast<uint32_t>(l.height));
    PutLe16(out, Le16(b, 22));  // planes, which the decoder checks
    PutLe16(out, static_cast<uint32_t>(l.bits_per_pixel));
    for (int field = 0; field < 6; ++field) PutLe32(out, 0);  // no compression, sizes, resolution, colours
    for (int64_t i = 0; i < entries; ++i) {
        const size_t at = kFileHeaderSize + kCoreHeaderSize + 3 * static_cast<size_t>(i);
        out.insert(out.end(), {b[at], b[at + 1], b[at + 2], 0});
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// The decoder trusts a chunk's length: it grows its buffer for the image data
// to the length a chunk claims before it finds the bytes missing, so a tiny
// file could make it ask for gigabytes. And an empty image-data chunk makes it
// copy zero bytes to a buffer it has not allocated yet. So every chunk up to
// the end chunk must lie inside the file, and no image-data chunk be empty;
// no encoder writes anything else.
bool ChunksLieInFile(std::span<const uint8_t> bytes) {
    constexpr size_t kSignatureSize = 8;
    constexpr size_t kChunkOverhead = 12;  // length, type, checksum
    const auto type_is = [&](size_t at, const char (&name)[5]) {
        return std::equal(name, name + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at) + 4);
    };
    size_t at = kSignatureSize;
    while (at + kChunkOverhead <= bytes.size()) {
        const uint32_t length = uint32_t{bytes[at]} << 24 | uint32_t{bytes[at + 1]} << 16 |
                                uint32_t{bytes[at + 2]} << 8 | uint32_t{bytes[at + 3]};
        if (length > bytes.size() - at - kChunkOverhead) return false;
        if (type_is(at, "IDAT") && length == 0) return false;
        if (type_is(at, "IEND")) return true;
        at += kChunkOverhead + length;
    }
    return false;
}

bool IsAcceptablePng(std::span<const uint8_t> bytes) {
    if (!ChunksLieInFile(bytes)) return false;
    int width = 0;
    int height = 0;
    int channels = 0;
    return stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels) != 0 &&
           FitsPixelBudget(width, height);
}

struct StbiFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

std::optional<gfx::Bitmap> DecodePicture(std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxPictureFileSize) return std::nullopt;
    std::vector<uint8_t> widened;
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
        const std::optional<BmpLayout> layout = ReadBmpLayout(bytes);
        if (!layout) return std::nullopt;
        if (HasColourTable(*layout)) {
            if (!IndicesInTable(bytes, *layout)) return std::nullopt;
            if (layout->info_size == kCoreHeaderSize) {
                widened = WidenCoreHeader(bytes, *layout);
                bytes = widened;
            }
        }
    } else if (!IsAcceptablePng(bytes)) {
        return std::nullopt;
    }
    int width = 0;
    int height = 0;
    int channels = 0;
    constexpr int kRgb = 3;
    const std::unique_ptr<stbi_uc, StbiFree> rgb(
        stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, kRgb));
    if (!rgb) return std::nullopt;
    std::optional<gfx::Bitmap> picture = gfx::Bitmap::Create(width, height, gfx::PixelFormat::Rgb32);
    if (!picture) return std::nullopt;

    // A new bitmap is white; paint each row's runs of another colour.
    const auto at = [&](int32_t x, int32_t y) {
        const stbi_uc* p = rgb.get() + (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)) * kRgb;
        return gfx::Color{p[0], p[1], p[2]};
    };
    for (int32_t y = 0; y < height; ++y) {
        int32_t x = 0;
        while (x < width) {
            const gfx::Color colour = at(x, y);
            int32_t end = x + 1;
            while (end < width && at(end, y) == colour) ++end;
            if (colour != gfx::kWhite) picture->FillRect({x, y, end, y + 1}, colour);
            x = end;
        }
    }
    return picture;
}

std::optional<gfx::Bitmap> LoadPicture(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return std::nullopt;
    // Read in one piece at the file's size. A directory opens on POSIX but
    // has no size we accept or fails to read, like any other non-picture.
    std::vector<uint8_t> bytes;
    const bool sized = std::fseek(file, 0, SEEK_END) == 0;
    const long size = sized ? std::ftell(file) : -1;
    const bool fits = size >= 0 && static_cast<unsigned long>(size) <= kMaxPictureFileSize;
    if (fits) bytes.resize(static_cast<size_t>(size));
    const bool read = fits && std::fseek(file, 0, SEEK_SET) == 0 &&
                      std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    std::fclose(file);
    if (!read) return std::nullopt;
    return DecodePicture(bytes);
}

}  // namespace rgn
