#include "export/stroke_sheet.h"

#include <gtest/gtest.h>

#include "export/png_write.h"
#include "stb_decode.h"
#include "zep/region_load.h"

namespace player {
namespace {

constexpr int32_t kPitch = 255;  // a canvas and its grid line

gfx::Point InCell(int32_t cell, int32_t across, gfx::Point p) {
    return {kSheetMargin + 1 + cell % across * kPitch + p.x,
            kSheetMargin + 1 + cell / across * kPitch + p.y};
}

std::vector<gfx::MaybeRegion> ThreeStrokesSecondMissing() {
    return {gfx::Region::FromRect({20, 150, 100, 180}), std::nullopt,
            gfx::Region::FromRect({150, 150, 230, 180})};
}

TEST(StrokeSheet, EachCellAddsTheNextStrokeInRed) {
    const std::optional<gfx::Bitmap> sheet = DrawStrokeSheet(ThreeStrokesSecondMissing(), 2);
    ASSERT_TRUE(sheet);
    const gfx::Point first{60, 165};   // in stroke 1
    const gfx::Point third{190, 165};  // in stroke 3
    const struct {
        int32_t cell;
        gfx::Point at;
        gfx::Color colour;
        const char* what;
    } cases[] = {
        {0, first, gfx::kRed, "the newest stroke"},
        {0, third, gfx::kWhite, "a later stroke"},
        {1, first, gfx::kBlack, "an earlier stroke"},
        {1, third, gfx::kWhite, "after a missing shape"},
        {2, first, gfx::kBlack, "an earlier stroke, wrapped to the next row"},
        {2, third, gfx::kRed, "the newest stroke, wrapped"},
        {3, first, gfx::kWhite, "the empty place after the last cell"},
    };
    for (const auto& c : cases) {
        const gfx::Point p = InCell(c.cell, 2, c.at);
        EXPECT_EQ(sheet->GetPixel(p.x, p.y), c.colour) << "cell " << c.cell << ": " << c.what;
    }
    int32_t red_in_second_cell = 0;
    for (int32_t y = 0; y < kPitch - 1; ++y) {
        for (int32_t x = 0; x < kPitch - 1; ++x) {
            const gfx::Point p = InCell(1, 2, {x, y});
            red_in_second_cell += sheet->GetPixel(p.x, p.y) == gfx::kRed;
        }
    }
    EXPECT_EQ(red_in_second_cell, 0) << "a missing shape draws nothing";
}

// On paper at 20 mm a cell: numbers black and at least 8% of the cell high, a
// guide no lighter than mid-grey and 2 pixels wide, white around the grid.
TEST(StrokeSheet, PrintsLegibly) {
    const std::optional<gfx::Bitmap> sheet = DrawStrokeSheet(ThreeStrokesSecondMissing(), 2);
    ASSERT_TRUE(sheet);
    int32_t number_top = kPitch;
    int32_t number_bottom = 0;
    for (int32_t y = 0; y < kPitch / 4; ++y) {
        for (int32_t x = 0; x < kPitch / 4; ++x) {
            const gfx::Point p = InCell(0, 2, {x, y});
            if (sheet->GetPixel(p.x, p.y) != gfx::kBlack) continue;
            number_top = std::min(number_top, y);
            number_bottom = std::max(number_bottom, y + 1);
        }
    }
    EXPECT_GE(number_bottom - number_top, 0.08 * (kPitch - 1)) << "the number 1, in black";

    int32_t guide_width = 0;
    for (int32_t x = 0; x < kPitch - 1; ++x) {
        const gfx::Point p = InCell(0, 2, {x, 1});
        const gfx::Color c = sheet->GetPixel(p.x, p.y).value_or(gfx::kWhite);
        if (c == gfx::kWhite) continue;
        EXPECT_LE(c.r + c.g + c.b, 3 * 128) << "guide at " << x;
        ++guide_width;
    }
    EXPECT_EQ(guide_width, 2);

    for (const gfx::Point p : {gfx::Point{0, 0}, gfx::Point{kSheetMargin - 1, kSheetMargin - 1},
                               gfx::Point{sheet->width() - 1, sheet->height() - 1}}) {
        EXPECT_EQ(sheet->GetPixel(p.x, p.y), gfx::kWhite) << p.x << "," << p.y;
    }
}

TEST(StrokeSheet, WrapsAfterTheColumnsAndNeverLeavesAnEmptyColumn) {
    const std::vector<gfx::MaybeRegion> strokes = ThreeStrokesSecondMissing();
    const struct {
        int32_t columns;
        int32_t across;
        int32_t down;
    } cases[] = {{8, 3, 1}, {3, 3, 1}, {2, 2, 2}, {1, 1, 3}, {0, 1, 3}, {-5, 1, 3}};
    for (const auto& c : cases) {
        const std::optional<gfx::Bitmap> sheet = DrawStrokeSheet(strokes, c.columns);
        ASSERT_TRUE(sheet) << c.columns;
        EXPECT_EQ(sheet->width(), c.across * kPitch + 1 + 2 * kSheetMargin) << c.columns;
        EXPECT_EQ(sheet->height(), c.down * kPitch + 1 + 2 * kSheetMargin) << c.columns;
    }
    EXPECT_FALSE(DrawStrokeSheet({}, 8));
}

TEST(StrokeSheet, ShapesFollowTheStrokeCommandsPastWaits) {
    using K = CommandKind;
    const std::filesystem::path samples = SAMPLES_DIR;
    const std::vector<std::filesystem::path> files{samples / "juu-00.rgn", samples / "juu-01.rgn"};
    const std::vector<StrokeCommand> commands{{K::Wait}, {K::LinearSweep}, {K::Wait},
                                              {K::Draw}, {K::PivotSweep}};
    const std::vector<gfx::MaybeRegion> shapes = StrokeShapes(commands, files);
    ASSERT_EQ(shapes.size(), 3u);
    EXPECT_EQ(shapes[0], LoadRegionFile(files[0]));
    EXPECT_EQ(shapes[1], LoadRegionFile(files[1]));
    EXPECT_TRUE(shapes[0] && shapes[1]);
    EXPECT_FALSE(shapes[2]) << "a stroke beyond the files has no shape";
}

TEST(StrokeSheet, PngHoldsEveryPixel) {
    const std::optional<gfx::Bitmap> sheet = DrawStrokeSheet(ThreeStrokesSecondMissing(), 2);
    ASSERT_TRUE(sheet);
    const std::optional<std::vector<uint8_t>> png = EncodePng(*sheet);
    ASSERT_TRUE(png);
    const std::optional<export_test::Picture> read = export_test::DecodePng(*png);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->width, sheet->width());
    ASSERT_EQ(read->height, sheet->height());
    for (int32_t y = 0; y < sheet->height(); ++y) {
        const std::span<const uint32_t> row = sheet->Row(y);
        ASSERT_TRUE(std::equal(row.begin(), row.end(),
                               read->pixels.begin() + static_cast<ptrdiff_t>(y) * read->width))
            << "row " << y;
    }
}

}  // namespace
}  // namespace player
