#include "gfx/bitmap.h"

#include <gtest/gtest.h>

#include <climits>

namespace gfx {
namespace {

Bitmap Make(int32_t w, int32_t h, PixelFormat f) {
    auto b = Bitmap::Create(w, h, f);
    EXPECT_TRUE(b.has_value());
    return *b;
}

TEST(Bitmap, CreateRefusesSizesBelowOneAndStartsWhite) {
    EXPECT_FALSE(Bitmap::Create(0, 10, PixelFormat::Rgb32));
    EXPECT_FALSE(Bitmap::Create(10, -1, PixelFormat::Mono1));
    EXPECT_FALSE(Bitmap::Create(INT32_MAX, INT32_MAX, PixelFormat::Rgb32));
    for (PixelFormat f : {PixelFormat::Rgb32, PixelFormat::Mono1}) {
        Bitmap b = Make(3, 2, f);
        EXPECT_EQ(b.GetPixel(2, 1), kWhite);
    }
}

TEST(Bitmap, FillRectIsHalfOpenAndClipped) {
    Bitmap b = Make(120, 120, PixelFormat::Rgb32);
    b.FillRect({0, 0, 100, 100}, kRed);
    EXPECT_EQ(b.GetPixel(99, 99), kRed);
    EXPECT_EQ(b.GetPixel(100, 99), kWhite);
    EXPECT_EQ(b.GetPixel(99, 100), kWhite);
    b.FillRect({INT32_MIN, 110, INT32_MAX, INT32_MAX}, kGray);
    EXPECT_EQ(b.GetPixel(0, 110), kGray);
    EXPECT_EQ(b.GetPixel(119, 119), kGray);
    EXPECT_EQ(b.GetPixel(0, 109), kWhite);
    EXPECT_EQ(b.GetPixel(-1, 0), std::nullopt) << "outside is nothing, not black";
    EXPECT_EQ(b.GetPixel(0, 120), std::nullopt);
}

TEST(Bitmap, FillRegionPaintsItsPixelsOnly) {
    Bitmap b = Make(10, 10, PixelFormat::Rgb32);
    Region r = Region::FromRects(std::vector<Rect>{{-5, -5, 2, 2}, {8, 8, 50, 50}, {4, 0, 5, 10}});
    b.FillRegion(r, kBlack);
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            EXPECT_EQ(b.GetPixel(x, y), r.Contains(x, y) ? kBlack : kWhite) << x << "," << y;
        }
    }
}

TEST(Bitmap, RowsHoldEachRowsPixelsInBothFormats) {
    Bitmap rgb = Make(3, 2, PixelFormat::Rgb32);
    rgb.FillRect({1, 1, 2, 2}, Color{1, 2, 3});
    EXPECT_EQ(std::vector<uint32_t>(rgb.Row(1).begin(), rgb.Row(1).end()),
              (std::vector<uint32_t>{0xFFFFFF, 0x010203, 0xFFFFFF}));
    Bitmap mono = Make(3, 2, PixelFormat::Mono1);
    mono.Row(0)[2] = 0;
    EXPECT_EQ(mono.GetPixel(2, 0), kBlack);
    EXPECT_EQ(mono.GetPixel(2, 1), kWhite);
}

TEST(Bitmap, MonochromeTakesTheNearerOfBlackAndWhite) {
    struct Case {
        Color fill;
        Color shown;
    };
    const Case cases[] = {{kWhite, kWhite}, {kLightGray, kWhite}, {kGray, kWhite},
                          {kBlack, kBlack}, {kRed, kBlack},       {{127, 127, 128}, kBlack}};
    for (const Case& c : cases) {
        Bitmap b = Make(2, 2, PixelFormat::Mono1);
        b.FillRect({0, 0, 1, 1}, c.fill);
        EXPECT_EQ(b.GetPixel(0, 0), c.shown) << int{c.fill.r} << "," << int{c.fill.g};
    }
}

TEST(Bitmap, CopyToMonoKeepsOnlyWhite) {
    Bitmap src = Make(4, 1, PixelFormat::Rgb32);
    src.FillRect({1, 0, 2, 1}, {254, 255, 255});
    src.FillRect({2, 0, 3, 1}, kLightGray);
    src.FillRect({3, 0, 4, 1}, kBlack);
    Bitmap mono = Make(4, 1, PixelFormat::Mono1);
    mono.CopyFrom(src, 0, 0, 4, 1);
    EXPECT_EQ(mono.GetPixel(0, 0), kWhite);
    EXPECT_EQ(mono.GetPixel(1, 0), kBlack) << "near-white is not white";
    EXPECT_EQ(mono.GetPixel(2, 0), kBlack);
    EXPECT_EQ(mono.GetPixel(3, 0), kBlack);

    Bitmap back = Make(4, 1, PixelFormat::Rgb32);
    back.FillRect({0, 0, 4, 1}, kRed);
    back.CopyFrom(mono, 0, 0, 4, 1);
    EXPECT_EQ(back.GetPixel(0, 0), kWhite);
    EXPECT_EQ(back.GetPixel(1, 0), kBlack);
}

TEST(Bitmap, CopyPlacesAndClips) {
    Bitmap src = Make(3, 3, PixelFormat::Rgb32);
    src.FillRect({0, 0, 1, 1}, kRed);    // src (0, 0)
    src.FillRect({2, 2, 3, 3}, kBlack);  // src (2, 2)
    Bitmap dst = Make(5, 5, PixelFormat::Rgb32);
    dst.CopyFrom(src, 3, 3, 3, 3);  // only src (0..1, 0..1) fits
    EXPECT_EQ(dst.GetPixel(3, 3), kRed);
    EXPECT_EQ(dst.GetPixel(2, 2), kWhite);
    dst.CopyFrom(src, -2, -2, 3, 3);  // src (2, 2) lands on (0, 0)
    EXPECT_EQ(dst.GetPixel(0, 0), kBlack);
    EXPECT_EQ(dst.GetPixel(1, 1), kWhite);
    dst.CopyFrom(src, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX);  // nowhere, no overflow
    dst.CopyFrom(dst, 1, 0, 4, 5);                                  // onto itself
    EXPECT_EQ(dst.GetPixel(1, 0), kBlack);
    EXPECT_EQ(dst.GetPixel(4, 3), kRed);
}

TEST(Bitmap, MonoDibRowsAreBottomUpMostSignificantBitFirst) {
    Bitmap b = Make(254, 254, PixelFormat::Mono1);
    b.FillRect({0, 0, 254, 254}, kBlack);
    b.FillRect({0, 253, 1, 254}, kWhite);    // bottom-left
    b.FillRect({253, 0, 254, 1}, kWhite);    // top-right
    DibRows dib = b.ToDibRows();
    EXPECT_EQ(dib.bits_per_pixel, 1);
    EXPECT_EQ(dib.color_table, (std::vector<Color>{kBlack, kWhite}));
    ASSERT_EQ(dib.bits.size(), 32u * 254) << "254 bits padded to 32 bytes a row";
    EXPECT_EQ(dib.bits[0], 0x80) << "first row stored is the bottom one";
    EXPECT_EQ(dib.bits[31], 0x00);
    EXPECT_EQ(dib.bits[32 * 253 + 31], 0x04) << "x = 253 is bit 2 of byte 31; padding bits stay 0";

    Bitmap narrow = Make(9, 1, PixelFormat::Mono1);
    EXPECT_EQ(narrow.ToDibRows().bits, (std::vector<uint8_t>{0xFF, 0x80, 0, 0}));
}

TEST(Bitmap, RgbDibRowsAreBgrx) {
    Bitmap b = Make(2, 2, PixelFormat::Rgb32);
    b.FillRect({0, 1, 1, 2}, Color{1, 2, 3});
    DibRows dib = b.ToDibRows();
    EXPECT_EQ(dib.bits_per_pixel, 32);
    EXPECT_TRUE(dib.color_table.empty());
    EXPECT_EQ(dib.bits, (std::vector<uint8_t>{3, 2, 1, 0, 255, 255, 255, 0,  // bottom row
                                              255, 255, 255, 0, 255, 255, 255, 0}));
}

}  // namespace
}  // namespace gfx
