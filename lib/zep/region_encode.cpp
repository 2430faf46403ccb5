#include "zep/region_encode.h"

#include <algorithm>
#include <cstddef>

#include "gfx/geometry.h"
#include "zep/region_format.h"

namespace rgn {
namespace {

// Appends the file of a shape whose box lies on the canvas. Line k of the
// box is line first_line + k of lines, its positions counted from near_edge.
void AppendFile(std::vector<uint8_t>& out, const gfx::Rect& box, const BitSquare& lines,
                int32_t first_line, int32_t near_edge) {
    const int32_t width = box.right - box.left;
    const int32_t height = box.bottom - box.top;
    const bool columns = width < height;
    // At most the largest file, and its pages are only touched as written.
    out.reserve(out.size() + kMaxFileSize);
    out.push_back(columns ? kColumns : kRows);
    for (int32_t field : {box.left, box.top, width, height}) {
        out.push_back(static_cast<uint8_t>(field));
    }
    for (int32_t k = 0; k < (columns ? width : height); ++k) {
        lines.ForEachRun(first_line + k, [&](int32_t from, int32_t to) {
            out.push_back(static_cast<uint8_t>(from - near_edge));
            out.push_back(static_cast<uint8_t>(to - from));
        });
        out.push_back(kEndOfLine);
    }
}

}  // namespace

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
    // The shape line by line, so that columns are walked as easily as rows.
    const bool columns = width < height;
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
    AppendFile(out, box, along, 0, 0);
    return true;
}

bool EncodeRegion(std::vector<uint8_t>& out, const BitSquare& shape) {
    gfx::Rect box{BitSquare::kSide, BitSquare::kSide, 0, 0};
    for (int32_t y = 0; y < BitSquare::kSide; ++y) {
        if (const auto extent = shape.Extent(y)) {
            box = {std::min(box.left, extent->first), std::min(box.top, y),
                   std::max(box.right, extent->second), y + 1};
        }
    }
    if (box.IsEmpty()) return false;
    // Rows are the shape's own lines; columns are gathered first.
    if (box.right - box.left >= box.bottom - box.top) {
        AppendFile(out, box, shape, box.top, box.left);
        return true;
    }
    BitSquare columns;
    for (int32_t y = box.top; y < box.bottom; ++y) {
        shape.ForEachRun(y, [&](int32_t from, int32_t to) {
            for (int32_t x = from; x < to; ++x) columns.Set(x - box.left, y);
        });
    }
    AppendFile(out, box, columns, 0, box.top);
    return true;
}

}  // namespace rgn
