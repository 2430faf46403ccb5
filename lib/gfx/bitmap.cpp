// Bitmaps: filling, copying, reading pixels and device-independent rows.
#include "gfx/bitmap.h"

#include <algorithm>
#include <new>

namespace gfx {

namespace {

constexpr uint32_t kWhitePixel = 0xFFFFFF;

// Large enough for any picture felmar is handed, small enough that the
// pixel count and every row size stay far from overflow.
constexpr int64_t kMaxSide = 1 << 16;
constexpr int64_t kMaxPixels = int64_t{1} << 26;

uint32_t Pack(Color c) {
    return (uint32_t{c.r} << 16) | (uint32_t{c.g} << 8) | uint32_t{c.b};
}

Color Unpack(uint32_t v) {
    return Color{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8),
                 static_cast<uint8_t>(v)};
}

// A monochrome surface takes the nearer of black and white; white is nearer
// exactly when r + g + b > 3 * 255 / 2.
uint32_t MonoOf(Color c) { return 2 * (c.r + c.g + c.b) > 3 * 255 ? 1u : 0u; }

}  // namespace

Bitmap::Bitmap(int32_t width, int32_t height, PixelFormat format)
    : width_(width),
      height_(height),
      format_(format),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height),
              format == PixelFormat::Rgb32 ? kWhitePixel : 1u) {}

std::optional<Bitmap> Bitmap::Create(int32_t width, int32_t height, PixelFormat format) {
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide ||
        int64_t{width} * height > kMaxPixels) {
        return std::nullopt;
    }
    try {
        return Bitmap(width, height, format);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

void Bitmap::FillRect(const Rect& r, Color c) {
    int32_t left = std::max(r.left, 0);
    int32_t top = std::max(r.top, 0);
    int32_t right = std::min(r.right, width_);
    int32_t bottom = std::min(r.bottom, height_);
    if (left >= right || top >= bottom) return;
    uint32_t v = format_ == PixelFormat::Rgb32 ? Pack(c) : MonoOf(c);
    for (int32_t y = top; y < bottom; ++y) {
        auto row = pixels_.begin() + static_cast<ptrdiff_t>(y) * width_;
        std::fill(row + left, row + right, v);
    }
}

void Bitmap::FillRegion(const Region& region, Color c) {
    uint32_t v = format_ == PixelFormat::Rgb32 ? Pack(c) : MonoOf(c);
    auto spans = region.spans();
    for (const Region::Band& band : region.bands()) {
        int32_t top = std::max(band.top, 0);
        int32_t bottom = std::min(band.bottom, height_);
        if (top >= bottom) continue;
        for (int32_t y = top; y < bottom; ++y) {
            auto row = pixels_.begin() + static_cast<ptrdiff_t>(y) * width_;
            for (uint32_t k = 0; k < band.span_count; ++k) {
                const Region::Span& s = spans[band.first_span + k];
                int32_t x1 = std::max(s.x1, 0);
                int32_t x2 = std::min(s.x2, width_);
                if (x1 < x2) std::fill(row + x1, row + x2, v);
            }
        }
    }
}

void Bitmap::CopyFrom(const Bitmap& src, int32_t x, int32_t y, int32_t w, int32_t h) {
    if (&src == this) {
        Bitmap copy = src;
        CopyFrom(copy, x, y, w, h);
        return;
    }
    // Source pixel (i, j) goes to (x + i, y + j); keep the i and j for which
    // both exist.
    int64_t i0 = std::max<int64_t>(0, -int64_t{x});
    int64_t j0 = std::max<int64_t>(0, -int64_t{y});
    int64_t i1 = std::min<int64_t>({w, src.width_, int64_t{width_} - x});
    int64_t j1 = std::min<int64_t>({h, src.height_, int64_t{height_} - y});
    for (int64_t j = j0; j < j1; ++j) {
        auto from = static_cast<size_t>(j * src.width_);
        int64_t to = (j + y) * width_ + x;
        for (int64_t i = i0; i < i1; ++i) {
            uint32_t v = src.pixels_[from + static_cast<size_t>(i)];
            if (src.format_ == PixelFormat::Rgb32 && format_ == PixelFormat::Mono1) {
                v = v == kWhitePixel ? 1u : 0u;
            } else if (src.format_ == PixelFormat::Mono1 && format_ == PixelFormat::Rgb32) {
                v = v != 0 ? kWhitePixel : 0u;
            }
            pixels_[static_cast<size_t>(to + i)] = v;
        }
    }
}

std::optional<Color> Bitmap::GetPixel(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return std::nullopt;
    uint32_t v = pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) +
                         static_cast<size_t>(x)];
    if (format_ == PixelFormat::Mono1) return v != 0 ? kWhite : kBlack;
    return Unpack(v);
}

std::span<uint32_t> Bitmap::Row(int32_t y) {
    return {pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_), static_cast<size_t>(width_)};
}

std::span<const uint32_t> Bitmap::Row(int32_t y) const {
    return {pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_), static_cast<size_t>(width_)};
}

DibRows Bitmap::ToDibRows() const {
    DibRows dib;
    dib.width = width_;
    dib.height = height_;
    auto w = static_cast<size_t>(width_);
    if (format_ == PixelFormat::Rgb32) {
        dib.bits_per_pixel = 32;
        dib.bits.reserve(w * 4 * static_cast<size_t>(height_));
        for (int32_t y = height_; y-- > 0;) {
            const uint32_t* row = pixels_.data() + static_cast<size_t>(y) * w;
            for (size_t x = 0; x < w; ++x) {
                dib.bits.push_back(static_cast<uint8_t>(row[x]));        // blue
                dib.bits.push_back(static_cast<uint8_t>(row[x] >> 8));   // green
                dib.bits.push_back(static_cast<uint8_t>(row[x] >> 16));  // red
                dib.bits.push_back(0);
            }
        }
        return dib;
    }
    // One bit per pixel, leftmost pixel in the most significant bit, rows
    // padded to whole 32-bit words.
    dib.bits_per_pixel = 1;
    dib.color_table = {kBlack, kWhite};
    size_t stride = (w + 31) / 32 * 4;
    dib.bits.assign(stride * static_cast<size_t>(height_), 0);
    for (int32_t y = 0; y < height_; ++y) {
        const uint32_t* row = pixels_.data() + static_cast<size_t>(y) * w;
        uint8_t* out = dib.bits.data() + static_cast<size_t>(height_ - 1 - y) * stride;
        for (size_t x = 0; x < w; ++x) {
            if (row[x] != 0) out[x / 8] |= static_cast<uint8_t>(0x80u >> (x % 8));
        }
    }
    return dib;
}

}  // namespace gfx
