#include "player/shell_qt/bitmap_image.h"

namespace shell_qt {

QImage ToQImage(const gfx::Bitmap& bitmap) {
    QImage image(bitmap.width(), bitmap.height(), QImage::Format_RGB32);
    if (image.isNull()) return image;
    for (int32_t y = 0; y < bitmap.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int32_t x = 0; x < bitmap.width(); ++x) {
            const gfx::Color c = bitmap.GetPixel(x, y).value_or(gfx::kBlack);
            row[x] = qRgb(c.r, c.g, c.b);
        }
    }
    return image;
}

}  // namespace shell_qt
