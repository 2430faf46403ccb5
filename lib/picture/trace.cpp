#include "picture/trace.h"

#include <algorithm>

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

}  // namespace rgn
