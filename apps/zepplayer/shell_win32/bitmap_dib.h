// Our bitmaps on a Win32 device context.
#pragma once

#include <windows.h>

#include <cstdint>

#include "gfx/bitmap.h"

namespace shell_win32 {

// Copies picture to dc's (0, 0) with each pixel scale by scale device pixels,
// cut to width by height device pixels, as 32-bit device-independent rows.
void DrawScaled(HDC dc, const gfx::Bitmap& picture, int32_t scale, int32_t width, int32_t height);

}  // namespace shell_win32
