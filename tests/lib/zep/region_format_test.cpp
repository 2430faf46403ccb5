#include "zep/region_format.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using Rects = std::vector<gfx::Rect>;

struct DecodeCase {
    std::string name;
    Bytes file;
    std::optional<Rects> pixels;  // nothing: no region
};

class DecodeTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, GivesTheShapeOrNoRegion) {
    const DecodeCase& c = GetParam();
    const gfx::MaybeRegion region = rgn::RegionFromBytes(c.file);
    ASSERT_EQ(region.has_value(), c.pixels.has_value());
    if (region) {
        EXPECT_EQ(region->Rects(), gfx::Region::FromRects(*c.pixels).Rects());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, DecodeTest,
    testing::Values(
        DecodeCase{"Empty", {}, std::nullopt},
        DecodeCase{"FourBytes", {0x68, 0, 0, 1}, std::nullopt},
        DecodeCase{"HeaderOnly", {0x68, 0, 0, 1, 1}, std::nullopt},
        DecodeCase{"UpperCaseH", {0x48, 0, 0, 1, 1, 0, 1, 0xFF}, std::nullopt},
        DecodeCase{"UpperCaseV", {0x56, 0, 0, 1, 1, 0, 1, 0xFF}, std::nullopt},
        DecodeCase{"ZeroOrientation", {0x00, 0, 0, 1, 1, 0, 1, 0xFF}, std::nullopt},
        DecodeCase{"WidthZero", {0x68, 0, 0, 0, 1, 0, 1, 0xFF}, std::nullopt},
        DecodeCase{"Width255", {0x68, 0, 0, 255, 1, 0, 1, 0xFF}, std::nullopt},
        DecodeCase{"HeightZero", {0x76, 0, 0, 1, 0, 0, 1, 0xFF}, std::nullopt},
        DecodeCase{"Height255", {0x76, 0, 0, 1, 255, 0, 1, 0xFF}, std::nullopt},
        DecodeCase{"Left254", {0x68, 254, 0, 1, 1, 0, 1, 0xFF}, std::nullopt},
        DecodeCase{"Left255", {0x68, 255, 0, 1, 1, 0, 1, 0xFF}, std::nullopt},
        DecodeCase{"Top254", {0x68, 0, 254, 1, 1, 0, 1, 0xFF}, std::nullopt},
        DecodeCase{"OnlyTerminators", {0x68, 0, 0, 3, 3, 0xFF, 0xFF, 0xFF}, std::nullopt},
        DecodeCase{"OnlyClippedRuns", {0x68, 0, 0, 10, 1, 10, 5, 200, 1, 0xFF}, std::nullopt},
        DecodeCase{"LoneLastByteIsNoOffset", {0x68, 0, 0, 5, 2, 0x01}, std::nullopt},
        DecodeCase{"LengthZero", {0x68, 0, 0, 5, 1, 2, 0, 0xFF}, std::nullopt}),
    [](const testing::TestParamInfo<DecodeCase>& param) { return param.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Lenient, DecodeTest,
    testing::Values(
        DecodeCase{"OnePixel", {0x68, 0, 0, 1, 1, 0, 1, 0xFF}, Rects{{0, 0, 1, 1}}},
        DecodeCase{
            "ColumnsBar", {0x76, 5, 7, 2, 10, 0, 10, 0xFF, 0, 10, 0xFF}, Rects{{5, 7, 7, 17}}},
        DecodeCase{
            "LastCornerOfCanvas", {0x68, 253, 253, 1, 1, 0, 1, 0xFF}, Rects{{253, 253, 254, 254}}},
        DecodeCase{"RunsAreOffsetFromTheBox",
                   {0x68, 20, 30, 10, 2, 0xFF, 2, 3, 7, 1, 0xFF},
                   Rects{{22, 31, 25, 32}, {27, 31, 28, 32}}},
        // Width 10: offset 3 length 200 keeps 7 pixels; offset 10 adds nothing.
        DecodeCase{"OverlongRowRunIsClipped",
                   {0x68, 0, 0, 10, 1, 3, 200, 10, 5, 0xFF},
                   Rects{{3, 0, 10, 1}}},
        DecodeCase{"OverlongColumnRunIsClippedToHeight",
                   {0x76, 0, 0, 1, 4, 1, 9, 0xFF},
                   Rects{{0, 1, 1, 4}}},
        DecodeCase{
            "Offset254IsAnOffset", {0x68, 0, 0, 254, 1, 254, 7, 0, 1, 0xFF}, Rects{{0, 0, 1, 1}}},
        DecodeCase{"LengthByte255IsNoTerminator",
                   {0x68, 0, 0, 254, 2, 4, 0xFF, 0xFF, 0, 1, 0xFF},
                   Rects{{4, 0, 254, 1}, {0, 1, 1, 2}}},
        DecodeCase{"SurplusLinesIgnored",
                   {0x68, 0, 0, 5, 1, 0, 1, 0xFF, 0, 5, 0xFF, 0xFF},
                   Rects{{0, 0, 1, 1}}},
        DecodeCase{"MissingLinesAreEmpty",
                   {0x68, 0, 0, 5, 200, 1, 2, 0xFF, 0, 1, 0xFF},
                   Rects{{1, 0, 3, 1}, {0, 1, 1, 2}}},
        DecodeCase{"UnterminatedLastLine", {0x68, 0, 0, 5, 2, 0xFF, 0, 2}, Rects{{0, 1, 2, 2}}},
        DecodeCase{"LoneByteAfterAPair", {0x68, 0, 0, 5, 2, 0, 2, 3}, Rects{{0, 0, 2, 1}}},
        DecodeCase{"OverlappingAndUnorderedRuns",
                   {0x68, 0, 0, 9, 1, 5, 3, 0, 2, 1, 5, 0xFF},
                   Rects{{0, 0, 8, 1}}},
        // The decoder keeps pixels beyond the canvas; only the corner must lie on it.
        DecodeCase{
            "BoxOverhangsCanvas", {0x68, 200, 0, 100, 1, 0, 100, 0xFF}, Rects{{200, 0, 300, 1}}},
        DecodeCase{"ColumnsInFileOrder",
                   {0x76, 0, 0, 3, 4, 0, 1, 0xFF, 0xFF, 0, 4, 0xFF},
                   Rects{{0, 0, 1, 1}, {2, 0, 3, 4}}}),
    [](const testing::TestParamInfo<DecodeCase>& param) { return param.param.name; });

TEST(DecodeTest, LargestFile) {
    // Every row of the full canvas holds 127 one-pixel runs: the checkerboard.
    Bytes file = {0x68, 0, 0, 254, 254};
    for (int y = 0; y < 254; ++y) {
        for (int x = y % 2; x < 254; x += 2) file.insert(file.end(), {static_cast<uint8_t>(x), 1});
        file.push_back(0xFF);
    }
    ASSERT_EQ(file.size(), rgn::kMaxFileSize);
    const gfx::MaybeRegion region = rgn::RegionFromBytes(file);
    ASSERT_TRUE(region);
    EXPECT_EQ(region->Bounds(), (gfx::Rect{0, 0, 254, 254}));
    for (int y = 0; y < 254; y += 37) {
        for (int x = 0; x < 254; ++x) {
            EXPECT_EQ(region->Contains(x, y), (x + y) % 2 == 0) << x << "," << y;
        }
    }
}

}  // namespace
