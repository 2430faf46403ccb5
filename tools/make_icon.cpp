// make_icon: draws the player's icon from a bundled character, as the player
// shows it halfway through playing: the first strokes red, the rest black, on
// white, cropped to the character and scaled down to 64 by 64 pixels (PNG),
// and the same picture as a Windows icon file holding that PNG.
//
//   make_icon SAMPLE_PREFIX OUTPUT.png [OUTPUT.ico]
//
// reads SAMPLE_PREFIX-00.rgn, -01.rgn, ... up to the first missing number.
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include "gfx/bitmap.h"
#include "gfx/little_endian.h"
#include "gfx/region.h"
#include "sys/files.h"
#include "zep/region_format.h"

namespace {

constexpr int32_t kIconSide = 64;
constexpr int32_t kCanvasSide = rgn::kCanvasSide;
constexpr size_t kRedStrokes = 3;

std::optional<std::vector<gfx::Region>> LoadStrokes(const std::string& prefix) {
    std::vector<gfx::Region> strokes;
    for (size_t n = 0; n < rgn::kMaxRegionFiles; ++n) {
        const std::string suffix = rgn::RegionFileSuffix(n);
        std::string bytes;
        std::error_code ec;
        if (!sys::PathExists(prefix + suffix)) break;
        if (!sys::ReadWholeFile(prefix + suffix, bytes, ec)) return std::nullopt;
        const gfx::MaybeRegion region = rgn::RegionFromBytes(
            {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
        if (!region) return std::nullopt;
        strokes.push_back(*region);
    }
    if (strokes.empty()) return std::nullopt;
    return strokes;
}

// The square to scale down: the character's bounds, made square about their
// centre, with a margin of a twelfth of the side all round.
gfx::Rect Frame(const gfx::Region& character) {
    const gfx::Rect b = character.Bounds();
    const int32_t side = std::max(b.right - b.left, b.bottom - b.top);
    const int32_t framed = side + 2 * (side / 12);
    const int32_t left = (b.left + b.right - framed) / 2;
    const int32_t top = (b.top + b.bottom - framed) / 2;
    return {left, top, left + framed, top + framed};
}

// Overlap of output pixel o with each source pixel along one axis, in units
// where a source pixel is kIconSide long and the output pixel side long.
std::vector<std::pair<int32_t, int64_t>> Weights(int32_t origin, int32_t side, int32_t o) {
    const int64_t from = int64_t{origin} * kIconSide + int64_t{side} * o;
    const int64_t to = from + side;
    std::vector<std::pair<int32_t, int64_t>> weights;
    for (int64_t i = from / kIconSide - 1; i * kIconSide < to; ++i) {
        const int64_t overlap = std::min(to, (i + 1) * kIconSide) - std::max(from, i * kIconSide);
        if (overlap > 0) weights.emplace_back(static_cast<int32_t>(i), overlap);
    }
    return weights;
}

// Outside the picture.
constexpr uint32_t kWhitePixel = 0xffffff;
constexpr std::span<const uint32_t> kNoRow;

// Box filter: each icon pixel is the exact area average of the picture under
// it; outside the canvas counts as white.
std::vector<uint8_t> ScaleDown(const gfx::Bitmap& picture, const gfx::Rect& frame) {
    const int32_t side = frame.right - frame.left;
    std::vector<uint8_t> rgb;
    for (int32_t oy = 0; oy < kIconSide; ++oy) {
        const auto wy = Weights(frame.top, side, oy);
        for (int32_t ox = 0; ox < kIconSide; ++ox) {
            const auto wx = Weights(frame.left, side, ox);
            int64_t sum[3] = {0, 0, 0};
            for (const auto& [y, hy] : wy) {
                const std::span<const uint32_t> row =
                    y >= 0 && y < picture.height() ? picture.Row(y) : kNoRow;
                for (const auto& [x, hx] : wx) {
                    // 0x00RRGGBB
                    const uint32_t v = x >= 0 && static_cast<size_t>(x) < row.size()
                                           ? row[static_cast<size_t>(x)]
                                           : kWhitePixel;
                    sum[0] += ((v >> 16) & 0xff) * hx * hy;
                    sum[1] += ((v >> 8) & 0xff) * hx * hy;
                    sum[2] += (v & 0xff) * hx * hy;
                }
            }
            const int64_t area = int64_t{side} * side;
            for (int64_t s : sum) rgb.push_back(static_cast<uint8_t>((s + area / 2) / area));
        }
    }
    return rgb;
}

void AppendBytes(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}

// An icon directory of one 64 by 64 image stored as PNG, which Windows
// reads since Vista.
std::vector<uint8_t> IconFile(const std::vector<uint8_t>& png) {
    constexpr uint32_t kDirectorySize = 6 + 16;
    std::vector<uint8_t> ico;
    gfx::PutLe16(ico, 0);  // reserved
    gfx::PutLe16(ico, 1);  // an icon, not a cursor
    gfx::PutLe16(ico, 1);  // one image
    ico.push_back(kIconSide);
    ico.push_back(kIconSide);
    ico.push_back(0);  // no palette
    ico.push_back(0);  // reserved
    gfx::PutLe16(ico, 1);   // planes
    gfx::PutLe16(ico, 24);  // bits per pixel
    gfx::PutLe32(ico, static_cast<uint32_t>(png.size()));
    gfx::PutLe32(ico, kDirectorySize);
    ico.insert(ico.end(), png.begin(), png.end());
    return ico;
}

bool Write(const char* path, const std::vector<uint8_t>& bytes) {
    std::error_code ec;
    if (sys::ReplaceFileContents(path, bytes, ec)) return true;
    std::fprintf(stderr, "make_icon: cannot write '%s': %s\n", path, ec.message().c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "Usage: make_icon SAMPLE_PREFIX OUTPUT.png [OUTPUT.ico]\n");
        return 1;
    }
    const std::optional<std::vector<gfx::Region>> strokes = LoadStrokes(argv[1]);
    if (!strokes) {
        std::fprintf(stderr, "make_icon: no readable region files '%s-NN.rgn'\n", argv[1]);
        return 1;
    }
    std::optional<gfx::Bitmap> picture = gfx::Bitmap::Create(kCanvasSide, kCanvasSide, gfx::PixelFormat::Rgb32);
    if (!picture) return 1;
    gfx::Region character;
    for (size_t n = 0; n < strokes->size(); ++n) {
        picture->FillRegion((*strokes)[n], n < kRedStrokes ? gfx::kRed : gfx::kBlack);
        character.Unite((*strokes)[n]);
    }
    const std::vector<uint8_t> rgb = ScaleDown(*picture, Frame(character));

    std::vector<uint8_t> png;
    if (!stbi_write_png_to_func(AppendBytes, &png, kIconSide, kIconSide, 3, rgb.data(), kIconSide * 3)) {
        std::fprintf(stderr, "make_icon: cannot encode the PNG\n");
        return 1;
    }
    if (!Write(argv[2], png)) return 1;
    if (argc == 4 && !Write(argv[3], IconFile(png))) return 1;
    return 0;
}
