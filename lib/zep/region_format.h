// Region files: one shape of the 254 by 254 canvas, run-length encoded inside
// its bounding box.
//
// A 5-byte header (orientation, left, top, width, height; one unsigned byte
// each) is followed by one line per row (orientation 'h') or per column
// (orientation 'v') of the box. A line is a list of (offset, length) pairs
// measured from the box's near edge, closed by 0xFF; an offset never reaches
// 0xFF, so that byte in an offset's place always ends the line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "gfx/region.h"

namespace rgn {

inline constexpr uint8_t kRows = 0x68;     // 'h': each line is a row of the box
inline constexpr uint8_t kColumns = 0x76;  // 'v': each line is a column of the box
inline constexpr uint8_t kEndOfLine = 0xFF;
inline constexpr size_t kHeaderSize = 5;
// The player's canvas: the largest box a file can describe, and the square of
// a picture that is traced.
inline constexpr int32_t kCanvasSide = 254;
// 254 lines of 127 one-pixel runs each.
inline constexpr size_t kMaxFileSize = 64775;
// A character's strokes are NAME-00.rgn, NAME-01.rgn, ...: two digits.
inline constexpr size_t kMaxRegionFiles = 100;

// "-NN.rgn", the end of the name of stroke n's file after the script's name.
std::string RegionFileSuffix(size_t n);

// The shape held in a region file's bytes. Malformed line data is forgiven
// (over-long runs are clipped to the box, missing lines are empty, bytes after
// the last line are ignored); a bad header or a file that yields no pixel at
// all gives no region.
gfx::MaybeRegion RegionFromBytes(std::span<const uint8_t> bytes);

}  // namespace rgn
