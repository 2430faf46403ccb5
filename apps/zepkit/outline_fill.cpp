#include "zepkit/outline_fill.h"

#include <algorithm>
#include <cmath>

#include "zep/region_format.h"

namespace zepkit {

namespace {

struct Crossing {
    double x;
    int winding;
};

// Where the contours cross the line through the centres of row y, with the
// direction each crosses it in.
void RowCrossings(const std::vector<Polyline>& contours, double yc, std::vector<Crossing>& out) {
    out.clear();
    for (const Polyline& c : contours) {
        for (size_t i = 0; i < c.size(); ++i) {
            const PointD a = c[i];
            const PointD b = c[(i + 1) % c.size()];
            // Half-open in y, so a vertex on the line is counted once.
            if ((a.y <= yc) == (b.y <= yc)) continue;
            const double x = a.x + (yc - a.y) * (b.x - a.x) / (b.y - a.y);
            out.push_back({x, b.y > a.y ? 1 : -1});
        }
    }
    std::sort(out.begin(), out.end(),
              [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
}

// The first pixel whose centre lies at or right of x, kept on the canvas.
int32_t FirstPixelFrom(double x) {
    return static_cast<int32_t>(std::clamp(std::ceil(x - 0.5), 0.0, double{rgn::kCanvasSide}));
}

}  // namespace

gfx::Region FillOutline(const std::vector<Polyline>& contours) {
    gfx::Region region;
    std::vector<Crossing> crossings;
    for (int32_t y = 0; y < rgn::kCanvasSide; ++y) {
        RowCrossings(contours, y + 0.5, crossings);
        int winding = 0;
        double span_start = 0;
        for (const Crossing& c : crossings) {
            const int before = winding;
            winding += c.winding;
            if (before == 0 && winding != 0) span_start = c.x;
            if (before != 0 && winding == 0) {
                region.AddRect({FirstPixelFrom(span_start), y, FirstPixelFrom(c.x), y + 1});
            }
        }
    }
    return region;
}

}  // namespace zepkit
