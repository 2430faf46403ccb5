#include "zep/region_format.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "gfx/geometry.h"

namespace rgn {

std::string RegionFileSuffix(size_t n) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "-%02zu.rgn", n);
    return suffix;
}

gfx::MaybeRegion RegionFromBytes(std::span<const uint8_t> bytes) {
    const size_t n = bytes.size();
    if (n < kHeaderSize) return std::nullopt;
    const uint8_t orientation = bytes[0];
    if (orientation != kRows && orientation != kColumns) return std::nullopt;
    const int32_t left = bytes[1];
    const int32_t top = bytes[2];
    const int32_t width = bytes[3];
    const int32_t height = bytes[4];
    // The box may overhang the canvas; only its corner must lie on it.
    if (width == 0 || width > kCanvasSide || height == 0 || height > kCanvasSide ||
        left >= kCanvasSide || top >= kCanvasSide) {
        return std::nullopt;
    }

    const bool rows = orientation == kRows;
    const int32_t lines = rows ? height : width;
    const int32_t extent = rows ? width : height;
    std::vector<gfx::Rect> rects;
    size_t i = kHeaderSize;
    for (int32_t k = 0; k < lines && i < n; ++k) {
        // A pair needs two bytes, so a lone last byte is never taken for an
        // offset; a line cut off by the end of the file just ends there.
        while (i + 1 < n) {
            const int32_t offset = bytes[i];
            if (offset == kEndOfLine) {
                ++i;
                break;
            }
            const int32_t length = std::min<int32_t>(bytes[i + 1], extent - offset);
            i += 2;
            if (length <= 0) continue;
            rects.push_back(
                rows ? gfx::Rect{left + offset, top + k, left + offset + length, top + k + 1}
                     : gfx::Rect{left + k, top + offset, left + k + 1, top + offset + length});
        }
    }
    // Every run is clipped to its line and every line lies in the box, so the
    // box from the header bounds the region whatever the runs say.
    if (rects.empty()) return std::nullopt;
    return gfx::Region::FromRects(rects);
}

}  // namespace rgn
