#include "stb_decode.h"

#include <cstdlib>
#include <memory>

#define STBI_ONLY_GIF
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace export_test {

namespace {

constexpr int kRgba = 4;

struct Free {
    void operator()(void* p) const { std::free(p); }
};

Picture FromRgba(const stbi_uc* rgba, int width, int height) {
    Picture picture{width, height, {}};
    for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i) {
        const stbi_uc* p = rgba + i * kRgba;
        const uint32_t rgb = uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | p[2];
        picture.pixels.push_back(p[3] == 0xFF ? rgb : 0xFF000000u);
    }
    return picture;
}

}  // namespace

std::optional<Animation> DecodeGif(const std::vector<uint8_t>& bytes) {
    int* delays = nullptr;
    int width = 0;
    int height = 0;
    int count = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, Free> rgba(
        stbi_load_gif_from_memory(bytes.data(), static_cast<int>(bytes.size()), &delays, &width,
                                  &height, &count, &channels, kRgba));
    const std::unique_ptr<int, Free> owned_delays(delays);
    if (!rgba) return std::nullopt;
    Animation animation;
    const size_t frame_size = static_cast<size_t>(width) * static_cast<size_t>(height) * kRgba;
    for (int i = 0; i < count; ++i) {
        animation.frames.push_back(
            FromRgba(rgba.get() + static_cast<size_t>(i) * frame_size, width, height));
        animation.delays_ms.push_back(delays[i]);
    }
    return animation;
}

std::optional<Picture> DecodePng(const std::vector<uint8_t>& bytes) {
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, Free> rgba(stbi_load_from_memory(
        bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, kRgba));
    if (!rgba) return std::nullopt;
    return FromRgba(rgba.get(), width, height);
}

std::vector<uint32_t> Pixels(const gfx::Bitmap& bitmap) {
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < bitmap.height(); ++y) {
        const std::span<const uint32_t> row = bitmap.Row(y);
        pixels.insert(pixels.end(), row.begin(), row.end());
    }
    return pixels;
}

}  // namespace export_test
