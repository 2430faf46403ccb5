// Our bitmaps as Qt images, for the window to show.
#pragma once

#include <QImage>

#include "gfx/bitmap.h"

namespace shell_qt {

// The bitmap as shown on a screen of ratio device pixels per bitmap pixel,
// into image: 32-bit RGB, the bitmap's size times ratio (rounded up), each
// device pixel the bitmap pixel under its centre, so edges stay sharp at any
// scale. image is reused when it already has that size; it is null when
// memory runs out.
void ToDeviceImage(const gfx::Bitmap& bitmap, qreal ratio, QImage& image);

}  // namespace shell_qt
