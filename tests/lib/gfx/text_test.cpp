#include "gfx/text.h"

#include <gtest/gtest.h>

namespace gfx {
namespace {

// The inked pixels' bounding box, or an empty Rect.
Rect Ink(const Bitmap& b, Color ink) {
    Rect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int32_t y = 0; y < b.height(); ++y) {
        for (int32_t x = 0; x < b.width(); ++x) {
            if (b.GetPixel(x, y) != ink) continue;
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
        }
    }
    return box.IsEmpty() ? Rect{} : box;
}

TEST(Text, PromptIsCentredOnTheCanvas) {
    auto b = Bitmap::Create(254, 254, PixelFormat::Rgb32);
    DrawTextCentered(*b, {0, 0, 254, 254}, "Drop a ZEP file", kBlack);
    Rect ink = Ink(*b, kBlack);
    ASSERT_FALSE(ink.IsEmpty());
    // Ink may stop short of the cell's edges (a blank column, a letter
    // without a descender), so centred means within a few pixels.
    EXPECT_NEAR(ink.left + ink.right, 254, 4);
    EXPECT_NEAR(ink.top + ink.bottom, 254, 4);
    EXPECT_GE(ink.bottom - ink.top, 10) << "drawn at double size when it fits";
}

TEST(Text, StaysInsideItsBox) {
    struct Case {
        const char* name;
        Rect box;
        const char* text;
    };
    const Case cases[] = {
        {"number in a small box", {200, 260, 230, 276}, "12"},
        {"line wider than the box", {10, 10, 40, 20}, "a long line of text"},
        {"box partly off the bitmap", {-20, -5, 30, 8}, "99"},
    };
    for (const Case& c : cases) {
        auto b = Bitmap::Create(300, 300, PixelFormat::Rgb32);
        DrawTextCentered(*b, c.box, c.text, kBlack);
        Rect ink = Ink(*b, kBlack);
        ASSERT_FALSE(ink.IsEmpty()) << c.name;
        EXPECT_GE(ink.left, c.box.left) << c.name;
        EXPECT_GE(ink.top, c.box.top) << c.name;
        EXPECT_LE(ink.right, c.box.right) << c.name;
        EXPECT_LE(ink.bottom, c.box.bottom) << c.name;
    }
}

// The letters that reach below the line do, both at the canvas prompt's size
// and at their own.
TEST(Text, DescendersHangBelowTheLine) {
    for (const Rect box : {Rect{0, 0, 254, 254}, Rect{0, 0, 12, 12}}) {
        auto line = Bitmap::Create(254, 254, PixelFormat::Rgb32);
        DrawTextCentered(*line, box, "o", kBlack);
        for (const char* letter : {"g", "j", "p", "q", "y"}) {
            auto b = Bitmap::Create(254, 254, PixelFormat::Rgb32);
            DrawTextCentered(*b, box, letter, kBlack);
            EXPECT_GT(Ink(*b, kBlack).bottom, Ink(*line, kBlack).bottom) << letter;
        }
    }
}

TEST(Text, UnprintableCharactersDrawAsQuestionMarks) {
    auto a = Bitmap::Create(40, 20, PixelFormat::Rgb32);
    auto b = Bitmap::Create(40, 20, PixelFormat::Rgb32);
    DrawTextCentered(*a, {0, 0, 40, 20}, "x\x7f\xe6", kBlack);
    DrawTextCentered(*b, {0, 0, 40, 20}, "x??", kBlack);
    EXPECT_EQ(a->ToDibRows().bits, b->ToDibRows().bits);
}

}  // namespace
}  // namespace gfx
