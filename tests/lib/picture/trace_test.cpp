#include "picture/trace.h"
#include "zep/region_encode.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "test_picture.h"
#include "zep/region_format.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rgntest::Picture;

// The picture's file, written from its black pixels directly and through
// the traced region, which must agree.
Bytes Encode(Picture picture) {
    const rgn::BlackSquare square = rgntest::ToBlackSquare(picture);
    Bytes direct;
    EXPECT_TRUE(rgn::EncodeRegion(direct, square.black));
    Bytes traced;
    EXPECT_TRUE(rgn::EncodeRegion(traced, rgn::TraceBitmap(square, rgn::kCanvasSide)));
    EXPECT_EQ(direct, traced);
    return direct;
}

Picture Paint(int32_t width, int32_t height, const std::function<bool(int32_t, int32_t)>& black) {
    Picture picture = rgntest::WhitePicture(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            if (black(x, y)) picture.at(x, y) = gfx::kBlack;
        }
    }
    return picture;
}

Bytes Repeat(const Bytes& line, int times) {
    Bytes out;
    for (int i = 0; i < times; ++i) out.insert(out.end(), line.begin(), line.end());
    return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct EncodeCase {
    std::string name;
    Picture picture;
    Bytes file;
};

class TraceEncodeTest : public testing::TestWithParam<EncodeCase> {};

TEST_P(TraceEncodeTest, WritesTheCanonicalFile) {
    const EncodeCase& c = GetParam();
    EXPECT_EQ(Encode(c.picture), c.file);
}

Bytes AlternatingRow() {
    Bytes out = {0x68, 0, 0, 253, 1};  // the last inside pixel is x = 252
    for (uint8_t x = 0; x < 253; x += 2) out.insert(out.end(), {x, 1});
    out.push_back(0xFF);
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TraceEncodeTest,
    testing::Values(
        EncodeCase{"OnePixelAtOrigin",
                   Paint(254, 254, [](int x, int y) { return x == 0 && y == 0; }),
                   {0x68, 0, 0, 1, 1, 0, 1, 0xFF}},
        EncodeCase{"FullCanvas", Paint(254, 254, [](int, int) { return true; }),
                   Concat({{0x68, 0, 0, 254, 254}, Repeat({0, 254, 0xFF}, 254)})},
        EncodeCase{"BarTwoByTenAsColumns",
                   Paint(20, 20, [](int x, int y) { return x >= 5 && x < 7 && y >= 7 && y < 17; }),
                   {0x76, 5, 7, 2, 10, 0, 10, 0xFF, 0, 10, 0xFF}},
        EncodeCase{"SmallPictureAllBlack", Paint(10, 10, [](int, int) { return true; }),
                   Concat({{0x68, 0, 0, 10, 10}, Repeat({0, 10, 0xFF}, 10)})},
        EncodeCase{
            "OppositeCorners",
            Paint(254, 254, [](int x, int y) { return x == y && (x == 0 || x == 253); }),
            Concat({{0x68, 0, 0, 254, 254, 0, 1, 0xFF}, Repeat({0xFF}, 252), {253, 1, 0xFF}})},
        EncodeCase{
            "SquareBoxAsRows",
            Paint(9, 9,
                  [](int x, int y) { return x >= 2 && x < 5 && y >= 1 && y < 4 && x + y != 5; }),
            {0x68, 2, 1, 3, 3, 0, 2, 0xFF, 0, 1, 2, 1, 0xFF, 1, 2, 0xFF}},
        EncodeCase{"TallBoxAsColumnsWithGaps",
                   Paint(9, 9, [](int x, int y) { return x < 2 && y < 3 && !(x == 1 && y == 1); }),
                   {0x76, 0, 0, 2, 3, 0, 3, 0xFF, 0, 1, 2, 1, 0xFF}},
        EncodeCase{"AlternatingRow",
                   Paint(254, 254, [](int x, int y) { return y == 0 && x % 2 == 0; }),
                   AlternatingRow()},
        // Only the top-left 254 by 254 square counts.
        EncodeCase{"LargePictureIsCut",
                   Paint(300, 300, [](int x, int y) { return x >= 250 && y >= 252; }),
                   {0x68, 250, 252, 4, 2, 0, 4, 0xFF, 0, 4, 0xFF}},
        EncodeCase{"SmallPictureBottomRight",
                   Paint(100, 50, [](int x, int y) { return x == 99 && y == 49; }),
                   {0x68, 99, 49, 1, 1, 0, 1, 0xFF}}),
    [](const testing::TestParamInfo<EncodeCase>& param) { return param.param.name; });

TEST(EncodeTest, NothingToWriteLeavesTheOutputAlone) {
    const std::vector<std::pair<std::string, gfx::Region>> cases = {
        {"empty", gfx::Region()},
        {"left of the canvas", gfx::Region::FromRect({-1, 0, 1, 1})},
        {"above the canvas", gfx::Region::FromRect({0, -1, 1, 1})},
        {"left edge off the canvas", gfx::Region::FromRect({254, 0, 255, 1})},
        {"top edge off the canvas", gfx::Region::FromRect({0, 254, 1, 255})},
        {"wider than the canvas", gfx::Region::FromRect({0, 0, 255, 1})},
        {"taller than the canvas", gfx::Region::FromRect({0, 0, 1, 255})},
        {"far corners",
         gfx::Region::FromRect({INT32_MIN, INT32_MIN, INT32_MIN + 1, INT32_MIN + 1})
             .United(gfx::Region::FromRect({INT32_MAX - 1, INT32_MAX - 1, INT32_MAX, INT32_MAX}))},
    };
    for (const auto& [name, shape] : cases) {
        Bytes out = {1, 2, 3};
        EXPECT_FALSE(rgn::EncodeRegion(out, shape)) << name;
        EXPECT_EQ(out, (Bytes{1, 2, 3})) << name;
    }
}

TEST(EncodeTest, AppendsToWhatIsThere) {
    Bytes out = {7};
    ASSERT_TRUE(rgn::EncodeRegion(out, gfx::Region::FromRect({3, 4, 5, 5})));
    EXPECT_EQ(out, (Bytes{7, 0x68, 3, 4, 2, 1, 0, 2, 0xFF}));
}

TEST(EncodeTest, ColumnAlongTheCanvasEdge) {
    Bytes out;
    ASSERT_TRUE(rgn::EncodeRegion(out, gfx::Region::FromRect({253, 0, 254, 254})));
    EXPECT_EQ(out, (Bytes{0x76, 253, 0, 1, 254, 0, 254, 0xFF}));
}

// Maximal runs along the lines of the box: pixels inside whose predecessor
// on the line is outside.
size_t CountRuns(const gfx::Region& shape, bool columns) {
    const gfx::Rect box = shape.Bounds();
    size_t runs = 0;
    for (int32_t y = box.top; y < box.bottom; ++y) {
        for (int32_t x = box.left; x < box.right; ++x) {
            runs += shape.Contains(x, y) &&
                    !(columns ? shape.Contains(x, y - 1) : shape.Contains(x - 1, y));
        }
    }
    return runs;
}

// Decoding what the encoder wrote gives back the same pixels, in a file whose
// size its lines and maximal runs account for.
TEST(EncodeTest, RoundTripsRandomShapes) {
    std::mt19937 random(20240611);
    for (int round = 0; round < 200; ++round) {
        const auto upto = [&](int32_t most) {
            return std::uniform_int_distribution<int32_t>(1, most)(random);
        };
        const int32_t left = upto(254) - 1;
        const int32_t top = upto(254) - 1;
        const int32_t width = upto(254 - left);
        const int32_t height = upto(254 - top);
        std::bernoulli_distribution inside(
            std::uniform_real_distribution<double>(0.02, 1.0)(random));
        std::vector<gfx::Rect> pixels;
        for (int32_t y = top; y < top + height; ++y) {
            for (int32_t x = left; x < left + width; ++x) {
                if (inside(random)) pixels.push_back({x, y, x + 1, y + 1});
            }
        }
        const gfx::Region shape = gfx::Region::FromRects(pixels);
        Bytes file;
        ASSERT_EQ(rgn::EncodeRegion(file, shape), !shape.IsEmpty());
        if (shape.IsEmpty()) continue;
        const gfx::MaybeRegion decoded = rgn::RegionFromBytes(file);
        ASSERT_TRUE(decoded) << "round " << round;
        EXPECT_EQ(*decoded, shape) << "round " << round;

        const gfx::Rect box = shape.Bounds();
        const bool columns = box.right - box.left < box.bottom - box.top;
        EXPECT_EQ(file[0], columns ? rgn::kColumns : rgn::kRows) << "round " << round;
        const auto lines =
            static_cast<size_t>(columns ? box.right - box.left : box.bottom - box.top);
        EXPECT_EQ(file.size(), 5 + lines + 2 * CountRuns(shape, columns)) << "round " << round;
    }
}

}  // namespace
