#include "zepplayer/shell_qt/bitmap_image.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace shell_qt {

namespace {

// Calls convert with our pixel rule for the bitmap's format, inlined: through
// a function pointer a row takes five times as long. 0x00RRGGBB gets an
// opaque alpha; 1-bit pixels are 0 (black) or 1 (white).
template <typename Convert>
void WithPixelRule(gfx::PixelFormat format, Convert convert) {
    if (format == gfx::PixelFormat::Mono1) {
        convert([](uint32_t v) -> QRgb { return v != 0 ? 0xffffffffu : 0xff000000u; });
    } else {
        convert([](uint32_t v) -> QRgb { return v | 0xff000000u; });
    }
}

// image with the given size, reusing its memory when it has it already.
bool Resize(QImage& image, QSize size) {
    if (image.size() != size || image.format() != QImage::Format_RGB32) {
        image = QImage(size, QImage::Format_RGB32);
    }
    return !image.isNull();
}

// For each of count device pixels, the bitmap pixel (of side pixels) under
// its centre.
std::vector<int32_t> Nearest(int32_t count, int32_t side, qreal ratio) {
    std::vector<int32_t> source(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const auto at = static_cast<int32_t>(std::floor((i + 0.5) / ratio));
        source[static_cast<size_t>(i)] = std::clamp(at, 0, side - 1);
    }
    return source;
}

void CopyRows(const gfx::Bitmap& bitmap, QImage& image) {
    WithPixelRule(bitmap.format(), [&](auto pixel) {
        for (int32_t y = 0; y < bitmap.height(); ++y) {
            std::ranges::transform(bitmap.Row(y), reinterpret_cast<QRgb*>(image.scanLine(y)),
                                   pixel);
        }
    });
}

void ScaleRows(const gfx::Bitmap& bitmap, qreal ratio, QImage& image) {
    const std::vector<int32_t> columns = Nearest(image.width(), bitmap.width(), ratio);
    const std::vector<int32_t> rows = Nearest(image.height(), bitmap.height(), ratio);
    WithPixelRule(bitmap.format(), [&](auto pixel) {
        for (int32_t y = 0; y < image.height(); ++y) {
            auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
            const auto row = static_cast<size_t>(y);
            // A bitmap row that spans several device rows is converted once.
            if (y > 0 && rows[row] == rows[row - 1]) {
                std::memcpy(to, image.constScanLine(y - 1),
                            static_cast<size_t>(image.bytesPerLine()));
                continue;
            }
            const std::span<const uint32_t> from = bitmap.Row(rows[row]);
            std::ranges::transform(columns, to,
                                   [&](int32_t x) { return pixel(from[static_cast<size_t>(x)]); });
        }
    });
}

int32_t DeviceSide(int32_t side, qreal ratio) {
    return static_cast<int32_t>(std::ceil(side * ratio));
}

}  // namespace

void ToDeviceImage(const gfx::Bitmap& bitmap, qreal ratio, QImage& image) {
    if (ratio == 1.0) {
        if (Resize(image, {bitmap.width(), bitmap.height()})) CopyRows(bitmap, image);
    } else if (Resize(image,
                      {DeviceSide(bitmap.width(), ratio), DeviceSide(bitmap.height(), ratio)})) {
        ScaleRows(bitmap, ratio, image);
    }
    if (!image.isNull()) image.setDevicePixelRatio(ratio);
}

}  // namespace shell_qt
