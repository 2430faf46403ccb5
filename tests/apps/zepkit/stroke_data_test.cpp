#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zepkit/outline_fill.h"
#include "zepkit/stroke_data.h"
#include "zepkit/svg_path.h"

namespace {

using zepkit::FlattenPath;
using zepkit::PointD;
using zepkit::Polyline;

struct PathCase {
    const char* name;
    const char* path;
    bool parses;
    size_t contours;
    PointD last;  // the last corner of the last contour
};

std::ostream& operator<<(std::ostream& os, const PathCase& c) { return os << c.name; }

class FlattenPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(FlattenPathTest, GivesContoursOrRefuses) {
    const PathCase& c = GetParam();
    std::vector<Polyline> contours;
    std::string error;
    ASSERT_EQ(FlattenPath(c.path, contours, error), c.parses) << error;
    if (!c.parses) {
        EXPECT_FALSE(error.empty());
        return;
    }
    ASSERT_EQ(contours.size(), c.contours);
    EXPECT_NEAR(contours.back().back().x, c.last.x, 1e-9);
    EXPECT_NEAR(contours.back().back().y, c.last.y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FlattenPathTest,
    ::testing::Values(
        PathCase{"absolute lines", "M0,0L10,0L10,10L0,10Z", true, 1, {0, 10}},
        PathCase{"relative lines, pairs after a move", "m5 5 10 0 0 10-10 0z", true, 1, {5, 15}},
        PathCase{"horizontal and vertical", "M0,0H8V8h-4v2Z", true, 1, {4, 10}},
        PathCase{"quadratic ends on its end point", "M0,0Q50,100 100,0Z", true, 1, {100, 0}},
        PathCase{"cubic ends on its end point", "M0,0C0,50 100,50 100,0Z", true, 1, {100, 0}},
        PathCase{"repeated curve", "M0,0Q5,5 10,0 15,-5 20,0Z", true, 1, {20, 0}},
        PathCase{"two contours", "M0,0L9,0L9,9ZM20,20L29,20L29,29Z", true, 2, {29, 29}},
        PathCase{"signs and exponents", "M+1e1,-.5L2.5.5L-3,4Z", true, 1, {-3, 4}},
        PathCase{"no move first", "L1,1L2,2Z", false, 0, {}},
        PathCase{"number missing", "M0,0L1Z", false, 0, {}},
        PathCase{"unknown command", "M0,0A1,1 0 0 0 5,5Z", false, 0, {}},
        PathCase{"not a number", "M0,0Lx,1Z", false, 0, {}}, PathCase{"empty", "", false, 0, {}}));

// Two outlines that share a slanted edge at fractional coordinates cover
// the rectangle they make together, with no pixel missing or shared.
TEST(FillOutline, TouchingOutlinesLeaveNoGapAndNoOverlap) {
    const Polyline left{{10, 10}, {60.3, 10}, {40.7, 70.2}, {10, 70.2}};
    const Polyline right{{60.3, 10}, {110.5, 10}, {110.5, 70.2}, {40.7, 70.2}};
    const Polyline whole{{10, 10}, {110.5, 10}, {110.5, 70.2}, {10, 70.2}};
    const gfx::Region a = zepkit::FillOutline({left});
    const gfx::Region b = zepkit::FillOutline({right});
    EXPECT_EQ(a.United(b), zepkit::FillOutline({whole}));
    EXPECT_TRUE(a.Intersected(b).IsEmpty());
    EXPECT_EQ(zepkit::FillOutline({whole}).Bounds(), (gfx::Rect{10, 10, 110, 70}));
}

// The nonzero rule: a contour inside another, turning the same way, adds no
// hole; turning the other way cuts one.
TEST(FillOutline, WindingDecidesHoles) {
    const Polyline outer{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
    const Polyline same{{40, 40}, {60, 40}, {60, 60}, {40, 60}};
    const Polyline opposite{{40, 40}, {40, 60}, {60, 60}, {60, 40}};
    EXPECT_TRUE(zepkit::FillOutline({outer, same}).Contains(50, 50));
    EXPECT_FALSE(zepkit::FillOutline({outer, opposite}).Contains(50, 50));
}

TEST(ParseCharacter, RefusesWhatIsNotStrokeData) {
    const char* bad[] = {
        "not json",
        R"({"strokes": ["M0,0L9,0L9,9Z"]})",
        R"({"strokes": ["M0,0L9,0L9,9Z"], "medians": []})",
        R"({"strokes": [], "medians": []})",
        R"({"strokes": [7], "medians": [[[0,0],[1,1]]]})",
        R"({"strokes": ["M0,0L9,0L9,9Z"], "medians": [[]]})",
        R"({"strokes": ["M0,0L9,0L9,9Z"], "medians": [[[0,"a"]]]})",
        R"({"strokes": ["M0,0L9,0 L9"], "medians": [[[0,0],[1,1]]]})",
        R"({"strokes": ["M0,0Q1e308,1e308 9,9Z"], "medians": [[[0,0],[1,1]]]})",
        R"({"strokes": ["M0,0L9,0L9,9Z"], "medians": [[[0,0],[1e300,1]]]})",
    };
    for (const char* text : bad) {
        std::string error;
        EXPECT_FALSE(zepkit::ParseCharacter(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}

// The box's corners land at the same margin on every side, y turned down.
TEST(ParseCharacter, MapsTheBoxOntoTheCanvas) {
    std::string error;
    const auto strokes = zepkit::ParseCharacter(
        R"({"strokes": ["M0,-124L1024,-124L1024,900Z"], "medians": [[[0,900],[1024,-124]]]})",
        error);
    ASSERT_TRUE(strokes) << error;
    const Polyline& median = (*strokes)[0].median;
    EXPECT_DOUBLE_EQ(median[0].x, zepkit::kCanvasMargin);
    EXPECT_DOUBLE_EQ(median[0].y, zepkit::kCanvasMargin);
    EXPECT_DOUBLE_EQ(median[1].x, 254 - zepkit::kCanvasMargin);
    EXPECT_DOUBLE_EQ(median[1].y, 254 - zepkit::kCanvasMargin);
}

}  // namespace
