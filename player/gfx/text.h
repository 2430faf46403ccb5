// Text in a small built-in bitmap font (printable ASCII), which stands in for
// the platform's default dialog font on every platform.
#pragma once

#include <string_view>

#include "bitmap.h"

namespace gfx {

// Draws one line of text centred horizontally and vertically in the
// rectangle, clipped to it. Characters outside printable ASCII draw as '?'.
void DrawTextCentered(Bitmap& bitmap, const Rect& box, std::string_view text, Color color);

}  // namespace gfx
