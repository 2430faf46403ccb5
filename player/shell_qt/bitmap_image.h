// Our bitmaps as Qt images, for the window to show.
#pragma once

#include <QImage>

#include "gfx/bitmap.h"

namespace shell_qt {

// The same pixels in 32-bit RGB.
QImage ToQImage(const gfx::Bitmap& bitmap);

}  // namespace shell_qt
