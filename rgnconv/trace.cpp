#include "rgnconv/trace.h"

#include <algorithm>
#include <cstddef>

#include "gfx/geometry.h"
#include "rgnconv/bit_square.h"
#include "rgnconv/rgnformat.h"

namespace rgn {

gfx::Region TraceBitmap(const BlackSquare& picture, int32_t side) {
    gfx::Region shape;
    side = std::clamp(side, 0, BitSquare::kSide);
    // Row by row, left to right: every run lands after everything already in
    // the shape, which the region appends in constant time.
    for (int32_t y = 0; y < side; ++y) {
        picture.black.ForEachRun(y, [&](int32_t from, int32_t to) {
            if (from < side) shape.AddRect({from, y, std::min(to, side), y + 1});
        });
    }
    return shape;
}

bool EncodeRegion(std::vector<uint8_t>& out, const gfx::Region& shape) {
    if (shape.IsEmpty()) return false;
    const gfx::Rect box = shape.Bounds();
    // In 64 bits: a region's corners may lie anywhere in the 32-bit range.
    const int64_t width = int64_t{box.right} - box.left;
    const int64_t height = int64_t{box.bottom} - box.top;
    if (width > kCanvasSide || height > kCanvasSide || box.left < 0 || box.left >= kCanvasSide ||
        box.top < 0 || box.top >= kCanvasSide) {
        return false;
    }

    // The shape line by line, each line's pixels as bits along it, so that
    // columns are walked as easily as rows.
    const bool columns = width < height;
    const auto lines = static_cast<int32_t>(columns ? width : height);
    BitSquare along;
    for (const gfx::Region::Band& band : shape.bands()) {
        for (const gfx::Region::Span& span :
             shape.spans().subspan(band.first_span, band.span_count)) {
            if (columns) {
                for (int32_t x = span.x1; x < span.x2; ++x) {
                    along.Set(x - box.left, band.top - box.top, band.bottom - box.top);
                }
            } else {
                for (int32_t y = band.top; y < band.bottom; ++y) {
                    along.Set(y - box.top, span.x1 - box.left, span.x2 - box.left);
                }
            }
        }
    }

    out.push_back(columns ? kColumns : kRows);
    for (int64_t field : {int64_t{box.left}, int64_t{box.top}, width, height}) {
        out.push_back(static_cast<uint8_t>(field));
    }
    for (int32_t k = 0; k < lines; ++k) {
        along.ForEachRun(k, [&](int32_t from, int32_t to) {
            out.push_back(static_cast<uint8_t>(from));
            out.push_back(static_cast<uint8_t>(to - from));
        });
        out.push_back(kEndOfLine);
    }
    return true;
}

}  // namespace rgn
