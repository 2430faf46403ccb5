// One line of text in the built-in font, centred in a box.
#include "gfx/text.h"

#include <algorithm>
#include <cstdint>

#include "gfx/font5x7.h"

namespace gfx {

namespace {

constexpr int64_t kAdvance = kGlyphWidth + 1;  // one blank column between glyphs

// Glyphs are drawn at twice their size when the line fits the box that way:
// 14 pixels high is close to a dialog font on a normal screen, while a
// single-size 7 pixel line stays readable in a box too small for it.
int64_t ScaleFor(const Rect& box, size_t length) {
    int64_t width = static_cast<int64_t>(length) * kAdvance - 1;
    bool fits = 2 * width <= int64_t{box.right} - box.left &&
                2 * kGlyphHeight <= int64_t{box.bottom} - box.top;
    return fits ? 2 : 1;
}

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// Where and how glyph rows are drawn.
struct Ink {
    Bitmap& bitmap;
    const Rect& box;
    Color color;
    int64_t scale;
};

// Rows of a glyph with their top left corner at (gx, top), clipped to the box.
template <size_t kRows>
void DrawRows(const Ink& ink, const char (&rows)[kRows][kGlyphWidth + 1], int64_t gx,
              int64_t top) {
    for (size_t row = 0; row < kRows; ++row) {
        for (int col = 0; col < kGlyphWidth; ++col) {
            if (rows[row][col] != '#') continue;
            int64_t x = gx + col * ink.scale;
            int64_t y = top + static_cast<int64_t>(row) * ink.scale;
            Rect dot{Clamp32(std::max<int64_t>(x, ink.box.left)),
                     Clamp32(std::max<int64_t>(y, ink.box.top)),
                     Clamp32(std::min<int64_t>(x + ink.scale, ink.box.right)),
                     Clamp32(std::min<int64_t>(y + ink.scale, ink.box.bottom))};
            ink.bitmap.FillRect(dot, ink.color);
        }
    }
}

}  // namespace

void DrawTextCentered(Bitmap& bitmap, const Rect& box, std::string_view text, Color color) {
    if (text.empty() || box.IsEmpty()) return;
    int64_t scale = ScaleFor(box, text.size());
    int64_t width = (static_cast<int64_t>(text.size()) * kAdvance - 1) * scale;
    int64_t height = kGlyphHeight * scale;
    // Centred with the odd pixel to the right and below, like the platform's
    // centred text; a line wider than the box overhangs both sides equally.
    // The letters' cells are centred, and descenders hang below them.
    int64_t left = box.left + (int64_t{box.right} - box.left - width) / 2;
    int64_t top = box.top + (int64_t{box.bottom} - box.top - height) / 2;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c < kFirstGlyph || c > kLastGlyph) c = '?';
        int64_t gx = left + static_cast<int64_t>(i) * kAdvance * scale;
        if (gx >= box.right) break;
        if (gx + kGlyphWidth * scale <= box.left) continue;
        const Ink ink{bitmap, box, color, scale};
        DrawRows(ink, kGlyphRows[c - kFirstGlyph], gx, top);
        for (const Descender& d : kDescenders) {
            if (d.glyph == c) DrawRows(ink, d.rows, gx, top + height);
        }
    }
}

}  // namespace gfx
