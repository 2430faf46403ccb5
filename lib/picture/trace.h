// From a picture to a shape.
#pragma once

#include <cstdint>

#include "gfx/region.h"
#include "picture/picture.h"

namespace rgn {

// The exactly black pixels of the picture's top-left side by side square (side
// at most the canvas side); positions beyond the picture are outside.
gfx::Region TraceBitmap(const BlackSquare& picture, int32_t side);

}  // namespace rgn
