#include "rgnconv/picture.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

// The decoder is compiled here, limited to the two formats we read, so that
// sanitizer and fuzzing builds instrument it along with our own code.
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

#include "gfx/geometry.h"

namespace rgn {
namespace {

uint32_t Le16(std::span<const uint8_t> b, size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8);
}

uint32_t Le32(std::span<const uint8_t> b, size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}

bool FitsPixelBudget(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPicturePixels / height;
}

// stb_image reads missing bytes of a BMP as zeros, which would turn a
// truncated file into black pixels, and it negates a top-down height without
// a range check. So a BMP must show that its headers, masks and pixel rows
// lie inside the file before the decoder sees it.
bool IsSoundBmp(std::span<const uint8_t> b) {
    constexpr size_t kFileHeaderSize = 14;
    if (b.size() < kFileHeaderSize + 4) return false;
    const int64_t data_offset = Le32(b, 10);
    const int64_t info_size = Le32(b, 14);
    int64_t width = 0;
    int64_t height = 0;
    int64_t bits_per_pixel = 0;
    int64_t masks_size = 0;
    if (info_size == 12) {  // the old core header: 16-bit sizes, no compression field
        if (b.size() < kFileHeaderSize + 12) return false;
        width = Le16(b, 18);
        height = Le16(b, 20);
        bits_per_pixel = Le16(b, 24);
    } else {
        if (b.size() < kFileHeaderSize + 20) return false;
        width = static_cast<int32_t>(Le32(b, 18));
        height = static_cast<int32_t>(Le32(b, 22));
        bits_per_pixel = Le16(b, 28);
        constexpr uint32_t kBitfields = 3;
        // The short info headers keep their colour masks after the header.
        if ((info_size == 40 || info_size == 56) && Le32(b, 30) == kBitfields) masks_size = 12;
    }
    height = std::abs(height);  // negative for top-down rows
    if (!FitsPixelBudget(width, height)) return false;
    const int64_t row_size = (width * bits_per_pixel + 31) / 32 * 4;
    const auto file_size = static_cast<int64_t>(b.size());
    return data_offset >= static_cast<int64_t>(kFileHeaderSize) + info_size + masks_size &&
           data_offset <= file_size && row_size * height <= file_size - data_offset;
}

bool IsAcceptable(std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxPictureFileSize) return false;
    if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return IsSoundBmp(bytes);
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
    if (!IsAcceptable(bytes)) return std::nullopt;
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
