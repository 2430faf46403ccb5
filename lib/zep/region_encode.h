// From a shape to the bytes of a region file.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/region.h"
#include "zep/bit_square.h"

namespace rgn {

// Appends the canonical region file of the shape: its exact bounding box,
// lines along the box's longer side (rows for a square), every line present,
// maximal runs in increasing order. Returns false, appending nothing, when the
// shape is empty or a file cannot hold its box (top-left corner off the
// canvas, a side longer than the canvas).
bool EncodeRegion(std::vector<uint8_t>& out, const gfx::Region& shape);

// The same for a shape on the canvas, such as a picture's black pixels: no
// region is built, which for a shape of many small runs is most of the work.
bool EncodeRegion(std::vector<uint8_t>& out, const BitSquare& shape);

}  // namespace rgn
