#include "export/png_write.h"


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

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

}  // namespace

std::optional<std::vector<uint8_t>> EncodePng(const gfx::Bitmap& bitmap) {
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
    return png;
}

bool SavePng(const std::filesystem::path& path, const gfx::Bitmap& bitmap, std::error_code& ec) {
    return sys::SaveEncoded(path, [&] { return EncodePng(bitmap); }, ec);
}

}  // namespace player
