#include <gtest/gtest.h>

#include <climits>

#include "animation/engine_geometry.h"

namespace player {
namespace {

using Corners4 = std::array<gfx::Point, 4>;

TEST(BandCornersTest, AtAngleZeroTheBandsStepRightFromX52) {
    EXPECT_EQ(BandCorners(0, -179), (Corners4{{{-52, -52}, {-52, 306}, {-32, 306}, {-32, -52}}}));
    EXPECT_EQ(BandCorners(0, 161), (Corners4{{{288, -52}, {288, 306}, {308, 306}, {308, -52}}}));
    int count = 0;
    for (int32_t t = kFirstBand; t < kBandLimit; t += kBandStep, ++count) {
        EXPECT_EQ(BandCorners(0, t)[0].x, -52 + 20 * count);
    }
    EXPECT_EQ(count, 18);
}

TEST(SliceCornersTest, ZeroToTwentyFiveDegreesAboutTheCentre) {
    EXPECT_EQ(SliceCorners(0, 25, 127, 127),
              (std::array<gfx::Point, 5>{{{485, 127}, {481, 178}, {469, 229}, {451, 278}, {127, 127}}}));
}

TEST(SliceCornersTest, CornersNearTheLimitsStickThereInsteadOfWrapping) {
    for (const int64_t angle : {int64_t{0}, int64_t{90}, int64_t{180}, int64_t{INT32_MAX}, int64_t{INT32_MIN}}) {
        for (const gfx::Point& p : SliceCorners(angle, angle + 25, INT32_MAX, INT32_MIN)) {
            EXPECT_GE(p.x, INT32_MAX - 358);
            EXPECT_LE(p.y, INT32_MIN + 358);
        }
    }
}

TEST(AngularStepTest, TableForEachMissCount) {
    const int32_t expected[] = {25, 16, 12, 10, 8, 7, 6, 5, 5, 4, 4, 3, 3};
    for (int32_t n = 0; n <= kCircleCount; ++n) EXPECT_EQ(AngularStep(n), expected[n]) << n;
}

TEST(GeometryLimitsTest, TruncatesTowardZeroAndClamps) {
    EXPECT_EQ(TruncateToPixel(-0.9), 0);
    EXPECT_EQ(TruncateToPixel(2.9), 2);
    EXPECT_EQ(TruncateToPixel(-2.9), -2);
    EXPECT_EQ(TruncateToPixel(1e12), INT32_MAX);
    EXPECT_EQ(TruncateToPixel(-1e12), INT32_MIN);
    EXPECT_EQ(CircleBox(INT32_MAX, INT32_MIN, 220),
              (gfx::Rect{INT32_MAX - 220, INT32_MIN, INT32_MAX, INT32_MIN + 220}));
    EXPECT_EQ(CircleBox(127, 127, 20), (gfx::Rect{107, 107, 147, 147}));
}

}  // namespace
}  // namespace player
