#include "picture/png.h"

#include <algorithm>
#include <cstring>
#include <memory>

// The decoder is compiled here, for PNG alone and private to this file, so
// that sanitizer and fuzzing builds instrument it along with our own code.
#define STB_IMAGE_STATIC
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace rgn {
namespace {

uint32_t BigEndian32(std::span<const uint8_t> b, size_t at) {
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 |
           uint32_t{b[at + 3]};
}

// The decoder trusts a chunk's length: it grows its buffer for the image data
// to the length a chunk claims before it finds the bytes missing, so a tiny
// file could make it ask for gigabytes. And an empty image-data chunk makes it
// copy zero bytes to a buffer it has not allocated yet. So every chunk up to
// the end chunk must lie inside the file, and no image-data chunk be empty;
// no encoder writes anything else. The header chunk comes first.
std::optional<Refusal> CheckChunks(std::span<const uint8_t> bytes) {
    constexpr size_t kSignatureSize = 8;
    constexpr size_t kChunkOverhead = 12;  // length, type, checksum
    constexpr size_t kHeaderChunkSize = 13;
    const auto type_is = [&](size_t at, const char(&name)[5]) {
        return std::equal(name, name + 4, bytes.begin() + static_cast<std::ptrdiff_t>(at) + 4);
    };
    size_t at = kSignatureSize;
    if (at + kChunkOverhead + kHeaderChunkSize > bytes.size() || !type_is(at, "IHDR")) {
        return Refusal::Corrupt;
    }
    while (at + kChunkOverhead <= bytes.size()) {
        const uint32_t length = BigEndian32(bytes, at);
        if (length > bytes.size() - at - kChunkOverhead) return Refusal::Truncated;
        if (type_is(at, "IDAT") && length == 0) return Refusal::Corrupt;
        if (type_is(at, "IEND")) return std::nullopt;
        at += kChunkOverhead + length;
    }
    return Refusal::Truncated;
}

// The decoder's own limit on a picture's memory, or anything else it refuses.
Refusal StbRefusal() {
    const char* reason = stbi_failure_reason();
    const bool too_large =
        reason && (std::strcmp(reason, "too large") == 0 || std::strcmp(reason, "outofmem") == 0);
    return too_large ? Refusal::TooLarge : Refusal::Corrupt;
}

struct StbiFree {
    void operator()(void* pixels) const { stbi_image_free(pixels); }
};

// Marks the square's pixels whose colour channels are all 0 and whose alpha,
// where there is one, is full: over white, any other pixel stays lighter.
template <typename Sample>
void MarkBlack(const Sample* pixels, int width, int height, int channels, BitSquare& black) {
    const bool alpha = channels == 2 || channels == 4;
    const int colours = alpha ? channels - 1 : channels;
    constexpr Sample kOpaque = static_cast<Sample>(~Sample{0});
    const int rows = std::min(height, BitSquare::kSide);
    const int columns = std::min(width, BitSquare::kSide);
    for (int y = 0; y < rows; ++y) {
        const Sample* p = pixels + static_cast<size_t>(y) * static_cast<size_t>(width) *
                                       static_cast<size_t>(channels);
        for (int x = 0; x < columns; ++x, p += channels) {
            const bool dark = std::all_of(p, p + colours, [](Sample s) { return s == 0; });
            if (dark && (!alpha || p[colours] == kOpaque)) black.Set(y, x);
        }
    }
}

}  // namespace

PictureResult DecodePng(std::span<const uint8_t> bytes) {
    if (const std::optional<Refusal> refusal = CheckChunks(bytes)) return *refusal;
    // stb_image decodes the whole picture, at up to 4 channels: the size
    // from the header chunk, which comes first, says how much it would take.
    constexpr size_t kWidthAt = 16;
    constexpr size_t kHeightAt = 20;
    constexpr size_t kDepthAt = 24;
    constexpr uint64_t kMostChannels = 4;
    const uint64_t bytes_per_sample = bytes[kDepthAt] == 16 ? 2 : 1;
    if (uint64_t{BigEndian32(bytes, kWidthAt)} * BigEndian32(bytes, kHeightAt) * kMostChannels *
            bytes_per_sample >
        kMaxPngDecodedBytes) {
        return Refusal::TooLarge;
    }
    const auto size = static_cast<int>(bytes.size());
    int width = 0;
    int height = 0;
    int channels = 0;
    if (stbi_info_from_memory(bytes.data(), size, &width, &height, &channels) == 0) {
        return Refusal::Corrupt;
    }
    const bool sixteen = stbi_is_16_bit_from_memory(bytes.data(), size) != 0;
    BlackSquare picture{width, height, {}};
    if (sixteen) {
        const std::unique_ptr<stbi_us, StbiFree> pixels(
            stbi_load_16_from_memory(bytes.data(), size, &width, &height, &channels, 0));
        if (!pixels) return StbRefusal();
        MarkBlack(pixels.get(), width, height, channels, picture.black);
    } else {
        const std::unique_ptr<stbi_uc, StbiFree> pixels(
            stbi_load_from_memory(bytes.data(), size, &width, &height, &channels, 0));
        if (!pixels) return StbRefusal();
        MarkBlack(pixels.get(), width, height, channels, picture.black);
    }
    return picture;
}

}  // namespace rgn
