#include "player/shell_qt/bitmap_image.h"

#include <algorithm>

namespace shell_qt {

namespace {

// Converts row by row with the pixel rule inlined: through a function
// pointer the copy takes five times as long.
template <typename Pixel>
void CopyRows(const gfx::Bitmap& bitmap, QImage& image, Pixel pixel) {
    for (int32_t y = 0; y < bitmap.height(); ++y) {
        std::ranges::transform(bitmap.Row(y), reinterpret_cast<QRgb*>(image.scanLine(y)), pixel);
    }
}

}  // namespace

void ToQImage(const gfx::Bitmap& bitmap, QImage& image) {
    if (image.size() != QSize(bitmap.width(), bitmap.height()) || image.format() != QImage::Format_RGB32) {
        image = QImage(bitmap.width(), bitmap.height(), QImage::Format_RGB32);
        if (image.isNull()) return;
    }
    // 0x00RRGGBB gets an opaque alpha; 1-bit pixels are 0 (black) or 1 (white).
    if (bitmap.format() == gfx::PixelFormat::Mono1) {
        CopyRows(bitmap, image, [](uint32_t v) -> QRgb { return v != 0 ? 0xffffffffu : 0xff000000u; });
    } else {
        CopyRows(bitmap, image, [](uint32_t v) -> QRgb { return v | 0xff000000u; });
    }
}

}  // namespace shell_qt
