// Our own BMP decoder, straight from the file's bytes to the black pixels of
// the canvas square. It reads what the platform's loader reads: the core
// (OS/2 1.x), OS/2 2.x and Windows info headers up to V5; 1, 2, 4, 8, 16, 24
// and 32 bits a pixel; bit fields; rows bottom-up or top-down; RLE8 and RLE4.
// Of an uncompressed picture only the bytes of the square are read, so the
// cost does not grow with the picture; an RLE stream is walked to its end.
#pragma once

#include "picture/byte_source.h"
#include "picture/picture.h"

namespace rgn {

// The caller has seen the signature "BM".
PictureResult DecodeBmp(const ByteSource& source);

}  // namespace rgn
