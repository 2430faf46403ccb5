// BMP files from anywhere: our decoder refuses them or keeps black pixels
// only inside the picture's top-left square, and where stb_image's BMP loader
// reads the same file as we do, the two agree on every pixel of the square.
#include <memory>
#include <span>
#include <variant>
#include <vector>

#include "fuzz_targets.h"
#include "gfx/little_endian.h"
#include "gfx/region.h"
#include "picture/bmp.h"
#include "picture/trace.h"
#include "zep/region_encode.h"
#include "zep/region_format.h"

// The reference, private to this file and built with the same sanitizers.
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

namespace zepfuzz {
namespace {

bool IsContiguous(uint32_t mask) {
    const uint32_t low = mask & (~mask + 1);
    return mask != 0 && ((mask + low) & mask) == 0;
}

// The files that stb_image reads the way the platform does. It refuses RLE,
// OS/2 2.x headers and 2 bits a pixel by itself; it misreads the core
// header's colour table, the masks of a 56-byte header, and masks with gaps
// (whose low bits it drops), so those are not compared.
bool StbReadsAlike(std::span<const uint8_t> b) {
    constexpr size_t kMasksAt = 54;
    if (b.size() < kMasksAt + 12) return false;
    const uint32_t info_size = gfx::Le32(b, 14);
    if (info_size == 12) return gfx::Le16(b, 24) >= 24;
    const uint32_t compression = gfx::Le32(b, 30);
    if (compression == 0) return true;
    if (compression != 3 || info_size == 56) return false;
    for (size_t at = kMasksAt; at < kMasksAt + 12; at += 4) {
        if (!IsContiguous(gfx::Le32(b, at))) return false;
    }
    return true;
}

struct StbiFree {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

void CompareWithStb(std::span<const uint8_t> bytes, const rgn::BlackSquare& picture) {
    if (!StbReadsAlike(bytes)) return;
    int width = 0;
    int height = 0;
    int channels = 0;
    constexpr int kRgb = 3;
    const std::unique_ptr<stbi_uc, StbiFree> rgb(stbi_load_from_memory(
        bytes.data(), static_cast<int>(bytes.size()), &width, &height, &channels, kRgb));
    if (!rgb) return;
    Require(width == picture.width && height == picture.height, "stb_image sees the same size");
    for (int y = 0; y < std::min(height, rgn::kCanvasSide); ++y) {
        for (int x = 0; x < std::min(width, rgn::kCanvasSide); ++x) {
            const stbi_uc* p = rgb.get() + (static_cast<size_t>(y) * static_cast<size_t>(width) +
                                            static_cast<size_t>(x)) *
                                               kRgb;
            Require(((p[0] | p[1] | p[2]) == 0) == picture.black.Test(y, x),
                    "stb_image finds the same black pixels");
        }
    }
}

}  // namespace

void FuzzBmpDecode(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    if (size < 2 || data[0] != 'B' || data[1] != 'M') return;
    const rgn::PictureResult result = rgn::DecodeBmp(rgn::MemorySource(bytes));
    const auto* picture = std::get_if<rgn::BlackSquare>(&result);
    if (!picture) return;
    Require(picture->width > 0 && picture->height > 0, "a decoded picture has pixels");

    const gfx::Region shape = rgn::TraceBitmap(*picture, rgn::kCanvasSide);
    std::vector<uint8_t> file;
    std::vector<uint8_t> direct;
    const bool encoded = rgn::EncodeRegion(file, shape);
    Require(rgn::EncodeRegion(direct, picture->black) == encoded && direct == file,
            "the black pixels' file is the traced shape's");
    if (encoded) {
        const gfx::Rect box = shape.Bounds();
        Require(box.right <= picture->width && box.bottom <= picture->height,
                "black pixels lie inside the picture");
        Require(rgn::RegionFromBytes(file) == shape, "a traced shape's file decodes to the shape");
    }
    CompareWithStb(bytes, *picture);
}

}  // namespace zepfuzz
