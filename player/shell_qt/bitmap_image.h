// Our bitmaps as Qt images, for the window to show.
#pragma once

#include <QImage>

#include "gfx/bitmap.h"

namespace shell_qt {

// The same pixels in 32-bit RGB, into image, which is reused when it already
// has the bitmap's size (a null image when memory runs out).
void ToQImage(const gfx::Bitmap& bitmap, QImage& image);

}  // namespace shell_qt
