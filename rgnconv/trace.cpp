#include "rgnconv/trace.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "gfx/geometry.h"
#include "rgnconv/rgnformat.h"

namespace rgn {

gfx::Region TraceBitmap(const gfx::Bitmap& picture, int32_t side) {
    gfx::Region shape;
    // Row by row, left to right: every pixel lands after everything already in
    // the shape, which the region appends in constant time.
    for (int32_t y = 0; y < side; ++y) {
        for (int32_t x = 0; x < side; ++x) {
            if (picture.GetPixel(x, y) == gfx::kBlack) shape.AddRect({x, y, x + 1, y + 1});
        }
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
    const auto w = static_cast<size_t>(width);
    const auto h = static_cast<size_t>(height);

    // The box's pixels, taken once from the region's bands, so that lines can
    // be walked across bands as easily as along them.
    std::vector<uint8_t> inside(w * h);
    const auto at = [&](int32_t x, int32_t y) {
        return inside.data() + static_cast<size_t>(y - box.top) * w + static_cast<size_t>(x - box.left);
    };
    for (const gfx::Region::Band& band : shape.bands()) {
        for (const gfx::Region::Span& span : shape.spans().subspan(band.first_span, band.span_count)) {
            for (int32_t y = band.top; y < band.bottom; ++y) std::fill(at(span.x1, y), at(span.x2, y), uint8_t{1});
        }
    }

    const bool columns = w < h;
    const size_t lines = columns ? w : h;
    const size_t extent = columns ? h : w;
    out.push_back(columns ? kColumns : kRows);
    for (int64_t field : {int64_t{box.left}, int64_t{box.top}, width, height}) {
        out.push_back(static_cast<uint8_t>(field));
    }
    for (size_t k = 0; k < lines; ++k) {
        std::optional<size_t> start;
        // One step past the far edge closes a run that reaches it.
        for (size_t along = 0; along <= extent; ++along) {
            const bool in = along < extent && (columns ? inside[along * w + k] : inside[k * w + along]);
            if (in && !start) {
                start = along;
            } else if (!in && start) {
                out.push_back(static_cast<uint8_t>(*start));
                out.push_back(static_cast<uint8_t>(along - *start));
                start.reset();
            }
        }
        out.push_back(kEndOfLine);
    }
    return true;
}

}  // namespace rgn
