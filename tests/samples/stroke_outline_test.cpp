// Character descriptions and the round brush that draws them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "brush.h"
#include "stroke_outline.h"

namespace {

using tools::BrushPoint;
using tools::PathShape;
using tools::StrokeOutline;

TEST(StrokeOutlines, ReadsStrokesRadiiCommentsAndLineEnds) {
    const std::string text =
        "# two strokes\r\n"
        "line 10,20 30,40,5   # a comment after the points\r\n"
        "\n"
        "radius 7\n"
        "curve\t0,0 253,253,40 100,100\n"
        "line 5,6";  // no final line break
    std::vector<StrokeOutline> strokes;
    std::string error;
    ASSERT_TRUE(tools::ParseStrokeOutlines(text, strokes, error)) << error;
    const std::vector<StrokeOutline> expected = {
        {PathShape::Line, {{10, 20, 10}, {30, 40, 5}}},
        {PathShape::Curve, {{0, 0, 7}, {253, 253, 40}, {100, 100, 7}}},
        {PathShape::Line, {{5, 6, 7}}},
    };
    EXPECT_EQ(strokes, expected);
}

TEST(StrokeOutlines, RefusesBadLinesNamingTheLine) {
    struct Case {
        const char* name;
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"unknown word", "line 1,1\nbrush 3", "line 2: unknown word 'brush'"},
        {"stroke without points", "curve", "line 1: a stroke needs at least one point"},
        {"off the canvas", "line 10,254", "line 1: bad point '10,254' (X,Y or X,Y,R on the canvas)"},
        {"negative coordinate", "line -1,5", "line 1: bad point '-1,5' (X,Y or X,Y,R on the canvas)"},
        {"radius 0", "line 5,5,0", "line 1: bad point '5,5,0' (X,Y or X,Y,R on the canvas)"},
        {"radius too big", "line 5,5,41", "line 1: bad point '5,5,41' (X,Y or X,Y,R on the canvas)"},
        {"four numbers", "line 1,2,3,4", "line 1: bad point '1,2,3,4' (X,Y or X,Y,R on the canvas)"},
        {"trailing letters", "line 1,2x", "line 1: bad point '1,2x' (X,Y or X,Y,R on the canvas)"},
        {"empty field", "line 1,,3", "line 1: bad point '1,,3' (X,Y or X,Y,R on the canvas)"},
        {"radius without number", "\n\nradius", "line 3: radius wants one number from 1 to 40"},
        {"radius out of range", "radius 0", "line 1: radius wants one number from 1 to 40"},
    };
    for (const Case& c : cases) {
        std::vector<StrokeOutline> strokes;
        std::string error;
        EXPECT_FALSE(tools::ParseStrokeOutlines(c.text, strokes, error)) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

int32_t PixelCount(const gfx::Region& region) {
    int32_t count = 0;
    for (const gfx::Rect& r : region.Rects()) count += (r.right - r.left) * (r.bottom - r.top);
    return count;
}

TEST(Brush, DotIsTheDiscOfPixelCentresAboutThePoint) {
    const gfx::Region dot = tools::BrushStroke({PathShape::Line, {{100, 50, 3}}});
    // Offsets (dx, dy) with dx^2 + dy^2 <= 9: 29 of them.
    EXPECT_EQ(PixelCount(dot), 29);
    EXPECT_EQ(dot.Bounds(), (gfx::Rect{97, 47, 104, 54}));
    EXPECT_TRUE(dot.Contains(102, 52));   // 8 <= 9
    EXPECT_FALSE(dot.Contains(103, 52));  // 13 > 9
}

TEST(Brush, StraightLineIsACapsuleOfEvenWidth) {
    const gfx::Region line = tools::BrushStroke({PathShape::Line, {{20, 60, 4}, {120, 60, 4}}});
    EXPECT_EQ(line.Bounds(), (gfx::Rect{16, 56, 125, 65}));
    for (int32_t x = 20; x <= 120; x += 10) {
        EXPECT_TRUE(line.Contains(x, 56) && line.Contains(x, 64)) << x;
        EXPECT_FALSE(line.Contains(x, 55) || line.Contains(x, 65)) << x;
    }
}

TEST(Brush, CurvePassesThroughItsPointsAndAPointWrittenTwiceIsACorner) {
    const std::vector<BrushPoint> points = {{30, 30, 2}, {200, 30, 2}, {200, 30, 2}, {200, 200, 2}};
    const gfx::Region corner = tools::BrushStroke({PathShape::Curve, points});
    for (const BrushPoint& p : points) EXPECT_TRUE(corner.Contains(p.x, p.y)) << p.x << "," << p.y;
    // Both arms stay straight up to the corner.
    EXPECT_EQ(corner.Bounds(), (gfx::Rect{28, 28, 203, 203}));

    // Through the same point once, the curve swings out above the corner.
    const gfx::Region smooth = tools::BrushStroke({PathShape::Curve, {{30, 30, 2}, {200, 30, 2}, {200, 200, 2}}});
    EXPECT_TRUE(smooth.Contains(200, 30));
    EXPECT_LT(smooth.Bounds().top, 20);
}

TEST(Brush, ClipsToTheCanvas) {
    const gfx::Region dot = tools::BrushStroke({PathShape::Line, {{0, 253, 6}}});
    EXPECT_EQ(dot.Bounds(), (gfx::Rect{0, 247, 7, 254}));
}

}  // namespace
