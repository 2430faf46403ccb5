#include "export/pixel_outline.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace player {
namespace {

// How often the contours wind around the point, counted by the edges that
// cross the ray from it to the right.
int32_t Winding(const std::vector<Contour>& contours, double x, double y) {
    int32_t winding = 0;
    for (const Contour& contour : contours) {
        for (size_t i = 0; i < contour.size(); ++i) {
            const gfx::Point a = contour[i];
            const gfx::Point b = contour[(i + 1) % contour.size()];
            if (a.x != b.x || a.x < x) continue;
            if (y > std::min(a.y, b.y) && y < std::max(a.y, b.y)) winding += b.y > a.y ? 1 : -1;
        }
    }
    return winding;
}

// Filled by the nonzero rule, as the PDF fills them, the contours give back
// exactly the region's pixels in the window: with a hole, pixels touching
// only at a corner, and parts outside the window.
TEST(PixelOutline, FillsExactlyTheRegionsPixelsInTheWindow) {
    const gfx::Region ellipse = gfx::Region::Ellipse({10, 10, 90, 70});
    gfx::Region ring;  // the ellipse with a hole [30, 70) x [30, 50)
    for (const gfx::Rect& r : ellipse.Rects()) {
        if (!(r.top >= 30 && r.bottom <= 50)) ring.AddRect(r);
    }
    ring.Unite(gfx::Region::FromRect({10, 30, 30, 50}));
    ring.Unite(gfx::Region::FromRect({70, 30, 90, 50}));
    const gfx::Region diagonal = gfx::Region::FromRects(std::vector<gfx::Rect>{
        {100, 100, 101, 101}, {101, 101, 102, 102}, {102, 100, 103, 101}});
    const gfx::Region overhang = gfx::Region::FromRect({-20, 110, 15, 130});
    const gfx::Rect window{0, 0, 120, 140};
    const struct {
        const char* name;
        gfx::Region region;
    } cases[] = {{"ellipse", ellipse},
                 {"ring with a hole", ring},
                 {"pixels touching at corners", diagonal},
                 {"overhanging the window", overhang},
                 {"empty", gfx::Region()}};
    for (const auto& c : cases) {
        const std::vector<Contour> contours = PixelOutline(c.region, window);
        int32_t wrong = 0;
        for (int32_t y = window.top - 2; y < window.bottom + 2; ++y) {
            for (int32_t x = window.left - 2; x < window.right + 2; ++x) {
                const bool filled = Winding(contours, x + 0.5, y + 0.5) != 0;
                wrong += filled != (window.Contains(x, y) && c.region.Contains(x, y));
            }
        }
        EXPECT_EQ(wrong, 0) << c.name;
        for (const Contour& contour : contours) {
            for (size_t i = 0; i < contour.size(); ++i) {
                const gfx::Point a = contour[i];
                const gfx::Point b = contour[(i + 1) % contour.size()];
                const gfx::Point n = contour[(i + 2) % contour.size()];
                EXPECT_TRUE((a.x == b.x) != (b.x == n.x))
                    << c.name << ": a corner that goes straight";
            }
        }
    }
}

}  // namespace
}  // namespace player
