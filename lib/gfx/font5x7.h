// The built-in 5 by 7 pixel font: printable ASCII, ' ' to '~'.
#pragma once

namespace gfx {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr char kFirstGlyph = ' ';
inline constexpr char kLastGlyph = '~';

// Each glyph as rows, top to bottom, '#' for an inked pixel.
extern const char kGlyphRows[kLastGlyph - kFirstGlyph + 1][kGlyphHeight][kGlyphWidth + 1];

}  // namespace gfx
