#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "zepkit/order_fidelity.h"
#include "zepkit/sweep_choice.h"

namespace {

using player::CommandKind;
using player::StrokeCommand;
using zepkit::KendallTauB;

struct OrderCase {
    const char* name;
    std::vector<double> x;
    std::vector<int32_t> y;
    double fidelity, ceiling, between_frames;
};

std::ostream& operator<<(std::ostream& os, const OrderCase& c) { return os << c.name; }

class MeasureOrderTest : public ::testing::TestWithParam<OrderCase> {};

TEST_P(MeasureOrderTest, KnownValues) {
    const OrderCase& c = GetParam();
    const zepkit::OrderMeasures m = zepkit::MeasureOrder(zepkit::CountPairs(c.x, c.y));
    EXPECT_NEAR(m.fidelity, c.fidelity, 1e-12);
    EXPECT_NEAR(m.ceiling, c.ceiling, 1e-12);
    EXPECT_NEAR(m.between_frames, c.between_frames, 1e-12);
    EXPECT_EQ(KendallTauB(c.x, c.y), m.fidelity);
}

// Ties in y alone: 4 concordant pairs of 6, 2 tied in y: 4 / sqrt(6 * 4),
// which is also the ceiling, and every pair between frames is in order.
// Ties in x alone: 2 concordant pairs of 3: 2 / sqrt(2 * 3), and 2 of the 3
// pairs between frames are in order. Ties in both: the pair tied in x and y
// counts in none.
INSTANTIATE_TEST_SUITE_P(
    Pairs, MeasureOrderTest,
    ::testing::Values(
        OrderCase{"in order", {1, 2, 3, 4}, {1, 2, 3, 4}, 1, 1, 1},
        OrderCase{"reversed", {1, 2, 3, 4}, {4, 3, 2, 1}, -1, 1, -1},
        OrderCase{"unsorted x", {3, 1, 4, 2}, {30, 10, 40, 20}, 1, 1, 1},
        OrderCase{"ties in y", {1, 2, 3, 4}, {0, 0, 1, 1}, 4 / std::sqrt(24.0), 4 / std::sqrt(24.0), 1},
        OrderCase{"ties in x", {1, 1, 2}, {5, 6, 7}, 2 / std::sqrt(6.0), 2 / std::sqrt(6.0), 2.0 / 3},
        OrderCase{"one discordant pair", {1, 2, 3}, {1, 3, 2}, 1.0 / 3, 1, 1.0 / 3},
        OrderCase{"ties in both", {1, 1, 2}, {5, 5, 6}, 1, 1, 1},
        OrderCase{"one frame", {1, 2, 3}, {7, 7, 7}, 0, 0, 0},
        OrderCase{"one position", {2, 2, 2}, {1, 2, 3}, 1, 1, 1},
        OrderCase{"one pair", {1}, {1}, 1, 1, 1}));

// A bar 200 pixels long and 20 high, written from left to right.
const gfx::Region kBar = gfx::Region::FromRect({20, 100, 220, 120});
const zepkit::Polyline kBarMedian{{20, 110}, {220, 110}};

double Fidelity(StrokeCommand command) {
    return zepkit::OrderFidelity(command, kBar, kBarMedian).fidelity;
}

// Swept along its direction, a column's 20 pixels share a position and a
// frame, and the bands (left edges at -52 + 20k) cut the bar into columns of
// 8, nine times 20 and 12 pixels: every pair in different bands is in order,
// so tau-b is sqrt((pairs - pairs in one band) / (pairs - pairs in one column)),
// which is all the ties allow, and the order between frames is perfect.
TEST(OrderFidelity, StraightStrokeSweptAlongIsKnown) {
    auto pairs = [](double n) { return n * (n - 1) / 2; };
    const double all = pairs(4000);
    double same_band = pairs(8 * 20) + pairs(12 * 20) + 9 * pairs(20 * 20);
    double same_column = 200 * pairs(20);
    const zepkit::OrderMeasures m =
        zepkit::OrderFidelity({CommandKind::LinearSweep, 0}, kBar, kBarMedian);
    EXPECT_NEAR(m.fidelity, std::sqrt((all - same_band) / (all - same_column)), 1e-12);
    EXPECT_NEAR(m.ceiling, m.fidelity, 1e-12);
    EXPECT_EQ(m.between_frames, 1);
}

TEST(OrderFidelity, AgainstAcrossAndAtOnce) {
    EXPECT_LT(Fidelity({CommandKind::LinearSweep, 180}), -0.9);
    EXPECT_NEAR(Fidelity({CommandKind::LinearSweep, 90}), 0, 0.05);
    EXPECT_EQ(Fidelity({CommandKind::Draw}), 0);
    // A pivot below the bar's middle turning clockwise sweeps it from left
    // to right; turning back, from right to left.
    EXPECT_GT(Fidelity({CommandKind::PivotSweep, 180, 360, 120, 200}), 0.9);
    EXPECT_LT(Fidelity({CommandKind::PivotSweep, 360, 180, 120, 200}), -0.9);
}

// An arc about (127, 127): only a pivot at its centre follows it.
TEST(ChooseSweep, TakesAPivotForACurve) {
    gfx::Region arc;
    zepkit::Polyline median;
    for (int a = 0; a <= 180; a += 10) {
        const double r = a * 3.14159265358979 / 180;
        median.push_back({127 + 90 * std::cos(r), 127 + 90 * std::sin(r)});
    }
    for (int32_t y = 0; y < 254; ++y) {
        for (int32_t x = 0; x < 254; ++x) {
            const double d = std::hypot(x + 0.5 - 127, y + 0.5 - 127);
            if (d >= 80 && d < 100 && y >= 127) arc.AddRect({x, y, x + 1, y + 1});
        }
    }
    const zepkit::SweepChoice choice = zepkit::ChooseSweep(arc, median);
    EXPECT_EQ(choice.command.kind, CommandKind::PivotSweep);
    EXPECT_GT(choice.order.fidelity, 0.9);
    EXPECT_DOUBLE_EQ(choice.order.fidelity,
                     zepkit::OrderFidelity(choice.command, arc, median).fidelity);
}

}  // namespace
