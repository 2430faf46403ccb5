#include "export/png_write.h"

#include <span>

// Compiled here with static linkage, so that no other copy in the same
// program can clash with it.
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "sys/save_encoded.h"

namespace player {

namespace {

constexpr int kRgb = 3;
// The signature and the IHDR chunk, which every PNG starts with.
constexpr size_t kSignatureAndHeader = 8 + 4 + 4 + 13 + 4;
constexpr uint8_t kUnitMetre = 1;

uint32_t Crc32(std::span<const uint8_t> bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (const uint8_t byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void AppendBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

// The pHYs chunk: the same resolution across and down, in pixels per metre.
std::vector<uint8_t> PhysicalSizeChunk(uint32_t pixels_per_metre) {
    std::vector<uint8_t> chunk;
    AppendBigEndian(chunk, 9);
    chunk.insert(chunk.end(), {'p', 'H', 'Y', 's'});
    AppendBigEndian(chunk, pixels_per_metre);
    AppendBigEndian(chunk, pixels_per_metre);
    chunk.push_back(kUnitMetre);
    AppendBigEndian(chunk, Crc32(std::span(chunk).subspan(4)));
    return chunk;
}

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::optional<std::vector<uint8_t>> EncodePng(const gfx::Bitmap& bitmap,
                                              uint32_t pixels_per_metre) {
    if (bitmap.format() != gfx::PixelFormat::Rgb32) return std::nullopt;
    std::vector<uint8_t> rgb;
    rgb.reserve(static_cast<size_t>(bitmap.width()) * static_cast<size_t>(bitmap.height()) * kRgb);
    for (int32_t y = 0; y < bitmap.height(); ++y) {
        for (const uint32_t c : bitmap.Row(y)) {
            rgb.insert(rgb.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                   static_cast<uint8_t>(c)});
        }
    }
    std::vector<uint8_t> png;
    if (!stbi_write_png_to_func(AppendBytes, &png, bitmap.width(), bitmap.height(), kRgb,
                                rgb.data(), bitmap.width() * kRgb)) {
        return std::nullopt;
    }
    if (pixels_per_metre != 0) {
        const std::vector<uint8_t> chunk = PhysicalSizeChunk(pixels_per_metre);
        png.insert(png.begin() + static_cast<ptrdiff_t>(kSignatureAndHeader), chunk.begin(),
                   chunk.end());
    }
    return png;
}

bool SavePng(const std::filesystem::path& path, const gfx::Bitmap& bitmap, std::error_code& ec,
             uint32_t pixels_per_metre) {
    return sys::SaveEncoded(path, [&] { return EncodePng(bitmap, pixels_per_metre); }, ec);
}

}  // namespace player
