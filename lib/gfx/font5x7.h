// The built-in 5 by 7 pixel font: printable ASCII, ' ' to '~'.
#pragma once

namespace gfx {

inline constexpr int kGlyphWidth = 5;
inline constexpr int kGlyphHeight = 7;
inline constexpr char kFirstGlyph = ' ';
inline constexpr char kLastGlyph = '~';

// Each glyph as rows, top to bottom, '#' for an inked pixel; the last row is
// the line the letters stand on.
extern const char kGlyphRows[kLastGlyph - kFirstGlyph + 1][kGlyphHeight][kGlyphWidth + 1];

// The letters that reach below the line, with the rows drawn under their cell.
inline constexpr int kDescentRows = 2;
inline constexpr int kDescenderCount = 5;
struct Descender {
    char glyph;
    char rows[kDescentRows][kGlyphWidth + 1];
};
extern const Descender kDescenders[kDescenderCount];

}  // namespace gfx
