// PNG pictures by stb_image, alpha composited over white: a pixel is black
// only where it is fully opaque and its colour exactly 0 (also in 16 bits).
#pragma once

#include <cstdint>
#include <span>

#include "picture/picture.h"

namespace rgn {

PictureResult DecodePng(std::span<const uint8_t> bytes);

}  // namespace rgn
