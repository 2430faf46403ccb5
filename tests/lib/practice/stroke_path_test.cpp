// A stroke's path runs the way its sweep reveals it, from near its first
// pixels to near its last; a stroke shown at once runs along its length and
// says it has no direction.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/region.h"
#include "practice/stroke_path.h"

namespace {

using player::CommandKind;

TEST(StrokePath, RunsTheWayTheSweepRevealsTheStroke) {
    const gfx::Region across = gfx::Region::FromRect({30, 120, 220, 132});
    const gfx::Region down = gfx::Region::FromRect({120, 30, 132, 220});
    const struct {
        const char* name;
        player::StrokeCommand command;
        const gfx::Region& region;
        double dx, dy;  // the way the path must run
    } cases[] = {
        {"rightwards", {CommandKind::LinearSweep, 0}, across, 1, 0},
        {"leftwards", {CommandKind::LinearSweep, 180}, across, -1, 0},
        {"downwards", {CommandKind::LinearSweep, 90}, down, 0, 1},
        {"upwards", {CommandKind::LinearSweep, 270}, down, 0, -1},
    };
    for (const auto& c : cases) {
        const practice::RevealedStroke revealed = practice::RevealStroke(c.command, c.region);
        EXPECT_TRUE(revealed.direction_judged) << c.name;
        const std::vector<practice::Point> path = practice::RevealPath(revealed, 12);
        ASSERT_EQ(path.size(), 12u) << c.name;
        for (size_t k = 1; k < path.size(); ++k) {
            const double along =
                (path[k].x - path[k - 1].x) * c.dx + (path[k].y - path[k - 1].y) * c.dy;
            EXPECT_GT(along, 10) << c.name << " at " << k;
        }
        // Twelve slices of 190 pixels: the ends lie half a slice inside the stroke.
        const double from = (path.front().x - 125) * c.dx + (path.front().y - 125) * c.dy;
        EXPECT_NEAR(from, -95 + 8, 2) << c.name;
    }
    const practice::RevealedStroke shown = practice::RevealStroke({CommandKind::Draw}, down);
    EXPECT_FALSE(shown.direction_judged);
    const std::vector<practice::Point> path = practice::RevealPath(shown, 12);
    ASSERT_EQ(path.size(), 12u);
    EXPECT_GT(std::abs(path.back().y - path.front().y), 150);
}

}  // namespace
