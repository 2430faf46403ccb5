// Points and half-open rectangles in device pixels.
#pragma once

#include <cstdint>

namespace gfx {

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// A point between pixels, as a pointer reports it.
struct PointF {
    double x = 0;
    double y = 0;
};

// Covers left <= x < right and top <= y < bottom; empty when either side is <= 0.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(int32_t x, int32_t y) const {
        return x >= left && x < right && y >= top && y < bottom;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace gfx
