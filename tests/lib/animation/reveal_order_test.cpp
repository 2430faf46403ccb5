// The order in which a sweep reveals a stroke's pixels: for every kind of
// command, a pixel farther along the sweep is never revealed earlier.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "animation/reveal_order.h"

namespace {

using player::CommandKind;
using player::StrokeCommand;

struct RevealCase {
    const char* name;
    StrokeCommand command;
    gfx::Region stroke;
};

// How far along the sweep the pixel centre lies: along the band's direction,
// or the angle turned about the pivot from the sweep's start.
double Along(const StrokeCommand& c, gfx::Point p) {
    const double x = p.x + 0.5, y = p.y + 0.5;
    if (c.kind == CommandKind::LinearSweep) {
        const double a = c.param1 * std::numbers::pi / 180;
        return x * std::cos(a) + y * std::sin(a);
    }
    const double angle = std::atan2(y - c.param4, x - c.param3) * 180 / std::numbers::pi;
    const double turned = c.param2 >= c.param1 ? angle - c.param1 : c.param1 - angle;
    return std::fmod(turned + 720, 360);
}

class RevealTest : public testing::TestWithParam<RevealCase> {};

TEST_P(RevealTest, LaterAlongTheSweepIsNeverEarlier) {
    const RevealCase& c = GetParam();
    const std::vector<gfx::Point> pixels = player::RegionPixels(c.stroke);
    const std::vector<double> times = player::RevealTimes(c.command, c.stroke);
    const std::vector<int32_t> frames = player::FirstPaintFrames(c.command, c.stroke);
    ASSERT_EQ(times.size(), pixels.size());
    ASSERT_EQ(frames.size(), pixels.size());
    for (size_t i = 0; i < pixels.size(); ++i) {
        // The time's whole part is the frame that paints the pixel.
        EXPECT_EQ(static_cast<int32_t>(std::floor(times[i])), frames[i]);
    }
    int out_of_order = 0;
    for (size_t i = 0; i < pixels.size(); i += 7) {
        for (size_t j = 0; j < pixels.size(); j += 5) {
            // Corners are cut to whole pixels: a pixel and a half of slack.
            const bool farther = Along(c.command, pixels[j]) > Along(c.command, pixels[i]) + 1.5;
            if (farther && times[j] < times[i]) ++out_of_order;
        }
    }
    EXPECT_EQ(out_of_order, 0);
    const auto [first, last] = std::minmax_element(times.begin(), times.end());
    EXPECT_GT(*last - *first, 2.0);  // it takes frames
}

const gfx::Region kBar = gfx::Region::FromRect({30, 120, 220, 132});
const gfx::Region kColumn = gfx::Region::FromRect({120, 20, 132, 230});
// A quarter of a disc about (60, 60), from 0 to 90 degrees.
const gfx::Region kArc = gfx::Region::Ellipse({-60, -60, 180, 180})
                             .Intersected(gfx::Region::FromRect({62, 62, 200, 200}));

INSTANTIATE_TEST_SUITE_P(
    Sweeps, RevealTest,
    testing::Values(RevealCase{"Right", {CommandKind::LinearSweep, 0, 0, 0, 0}, kBar},
                    RevealCase{"Left", {CommandKind::LinearSweep, 180, 0, 0, 0}, kBar},
                    RevealCase{"Down", {CommandKind::LinearSweep, 90, 0, 0, 0}, kColumn},
                    RevealCase{"Diagonal", {CommandKind::LinearSweep, 45, 0, 0, 0}, kBar},
                    RevealCase{"Clockwise", {CommandKind::PivotSweep, 0, 90, 60, 60}, kArc},
                    RevealCase{"Anticlockwise", {CommandKind::PivotSweep, 90, 0, 60, 60}, kArc}),
    [](const testing::TestParamInfo<RevealCase>& param) { return param.param.name; });

TEST(RevealTimes, AStrokeShownAtOnceHasOneTime) {
    const std::vector<double> times = player::RevealTimes({CommandKind::Draw, 0, 0, 0, 0}, kBar);
    ASSERT_FALSE(times.empty());
    for (const double t : times) EXPECT_EQ(t, 0);
    EXPECT_TRUE(player::RevealTimes({CommandKind::Draw, 0, 0, 0, 0}, gfx::Region()).empty());
}

}  // namespace
