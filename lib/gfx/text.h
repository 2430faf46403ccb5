// Text in a small built-in bitmap font (printable ASCII), which stands in for
// the platform's default dialog font on every platform.
#pragma once

#include <string_view>

#include "gfx/bitmap.h"

namespace gfx {

// Draws one line of text centred horizontally and vertically in the
// rectangle, clipped to it. Characters outside printable ASCII draw as '?'.
// The 5 by 7 glyphs are drawn at twice their size when the line fits the
// rectangle so (the canvas prompt does), else at their own size.
void DrawTextCentered(Bitmap& bitmap, const Rect& box, std::string_view text, Color color);

}  // namespace gfx
