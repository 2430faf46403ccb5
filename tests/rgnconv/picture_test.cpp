#include "rgnconv/picture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include "test_picture.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rgntest::Picture;
using rgntest::BmpHeader;
using rgntest::RowOrder;

constexpr gfx::Color kNearBlackRed{8, 0, 0};
constexpr gfx::Color kNearBlackBlue{0, 0, 8};

// Odd width, so that every kind of row needs padding; the first pixel is not
// black, so that black is not colour index 0; with more than 1 bit, near
// blacks too.
Picture Sample(int bits_per_pixel) {
    Picture picture = rgntest::WhitePicture(13, 7);
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            const int pick = (x * 7 + y * 3) % 5;
            if (pick == 1 || pick == 3) picture.at(x, y) = gfx::kBlack;
            if (bits_per_pixel > 1 && pick == 2) picture.at(x, y) = kNearBlackRed;
            if (bits_per_pixel > 1 && pick == 4) picture.at(x, y) = kNearBlackBlue;
        }
    }
    if (bits_per_pixel > 1) picture.at(0, 0) = kNearBlackRed;
    return picture;
}

void SetLe32(Bytes& file, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(DecodePictureTest, ReadsEveryBmpKind) {
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        for (RowOrder order : {RowOrder::BottomUp, RowOrder::TopDown}) {
            for (BmpHeader header : {BmpHeader::Info, BmpHeader::V5}) {
                const Picture picture = Sample(bits);
                const std::optional<gfx::Bitmap> decoded =
                    rgn::DecodePicture(rgntest::WriteBmp(picture, bits, order, header));
                const std::string what = std::to_string(bits) + (order == RowOrder::TopDown ? " top-down" : " bottom-up") +
                                         (header == BmpHeader::V5 ? " V5" : "");
                ASSERT_TRUE(decoded) << what;
                ASSERT_EQ(decoded->width(), picture.width) << what;
                ASSERT_EQ(decoded->height(), picture.height) << what;
                for (int32_t y = 0; y < picture.height; ++y) {
                    for (int32_t x = 0; x < picture.width; ++x) {
                        const gfx::Color got = *decoded->GetPixel(x, y);
                        // 5- and 6-bit channels come back scaled; every other kind exactly.
                        if (bits == 16) {
                            EXPECT_EQ(got == gfx::kBlack, picture.at(x, y) == gfx::kBlack) << what << " at " << x << "," << y;
                        } else {
                            EXPECT_EQ(got, picture.at(x, y)) << what << " at " << x << "," << y;
                        }
                    }
                }
            }
        }
    }
}

struct Corruption {
    std::string name;
    void (*apply)(Bytes& file);
};

class CorruptBmpTest : public testing::TestWithParam<Corruption> {};

// Each of these would otherwise reach the decoder, which reads missing bytes
// as zeros, that is as black pixels, or allocates without bound.
TEST_P(CorruptBmpTest, IsRefused) {
    Bytes file = rgntest::WriteBmp(Sample(24), 24, RowOrder::BottomUp);
    ASSERT_TRUE(rgn::DecodePicture(file));
    GetParam().apply(file);
    EXPECT_FALSE(rgn::DecodePicture(file));
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, CorruptBmpTest,
    testing::Values(
        Corruption{"LastByteMissing", [](Bytes& f) { f.pop_back(); }},
        Corruption{"FileHeaderOnly", [](Bytes& f) { f.resize(14); }},
        Corruption{"PixelsInsideTheHeader", [](Bytes& f) { SetLe32(f, 10, 20); }},
        Corruption{"PixelsPastTheEnd", [](Bytes& f) { SetLe32(f, 10, static_cast<uint32_t>(f.size())); }},
        Corruption{"HugeDataOffset", [](Bytes& f) { SetLe32(f, 10, 0xFFFFFFF0u); }},
        Corruption{"WidthZero", [](Bytes& f) { SetLe32(f, 18, 0); }},
        Corruption{"NegativeWidth", [](Bytes& f) { SetLe32(f, 18, 0xFFFFFFF3u); }},
        Corruption{"LowestHeight", [](Bytes& f) { SetLe32(f, 22, 0x80000000u); }},
        Corruption{"HugeSize", [](Bytes& f) { SetLe32(f, 18, 100000), SetLe32(f, 22, 100000); }},
        Corruption{"TallerThanTheData", [](Bytes& f) { SetLe32(f, 22, 8); }},
        Corruption{"RunLengthCompressed", [](Bytes& f) { f[28] = 8, SetLe32(f, 30, 1); }},
        Corruption{"UnknownInfoHeader", [](Bytes& f) { SetLe32(f, 14, 41); }},
        Corruption{"BitfieldsWithoutRoomForMasks", [](Bytes& f) { f[28] = 16, SetLe32(f, 30, 3); }}),
    [](const testing::TestParamInfo<Corruption>& param) { return param.param.name; });

Bytes Png(int width, int height, int channels, const Bytes& pixels) {
    Bytes out;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            auto* bytes = static_cast<const uint8_t*>(data);
            static_cast<Bytes*>(context)->insert(static_cast<Bytes*>(context)->end(), bytes, bytes + size);
        },
        &out, width, height, channels, pixels.data(), width * channels);
    return out;
}

TEST(DecodePictureTest, ReadsPngIgnoringAlpha) {
    // Transparent black is black; opaque near-black is not.
    const Bytes rgba = {0, 0, 0, 0, 1, 0, 0, 255, 255, 255, 255, 0, 0, 0, 0, 255};
    const std::optional<gfx::Bitmap> decoded = rgn::DecodePicture(Png(2, 2, 4, rgba));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(*decoded->GetPixel(0, 0), gfx::kBlack);
    EXPECT_EQ(*decoded->GetPixel(1, 0), (gfx::Color{1, 0, 0}));
    EXPECT_EQ(*decoded->GetPixel(0, 1), gfx::kWhite);
    EXPECT_EQ(*decoded->GetPixel(1, 1), gfx::kBlack);

    const std::optional<gfx::Bitmap> grey = rgn::DecodePicture(Png(3, 1, 1, {0, 1, 255}));
    ASSERT_TRUE(grey);
    EXPECT_EQ(*grey->GetPixel(0, 0), gfx::kBlack);
    EXPECT_EQ(*grey->GetPixel(1, 0), (gfx::Color{1, 1, 1}));
}

TEST(DecodePictureTest, RefusesWhatIsNoPicture) {
    const Bytes png = Png(1, 1, 3, {0, 0, 0});
    ASSERT_TRUE(rgn::DecodePicture(png));
    Bytes huge_png = png;
    // The size in the PNG's first chunk, whose checksum the decoder ignores.
    for (size_t at : {16u, 20u}) huge_png[at] = 0, huge_png[at + 1] = 0x01, huge_png[at + 2] = 0, huge_png[at + 3] = 0;

    // An empty image-data chunk before the real one, as a fuzzer found it.
    Bytes empty_data_png(png.begin(), png.begin() + 33);
    for (const uint8_t b : std::initializer_list<uint8_t>{0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E}) empty_data_png.push_back(b);
    empty_data_png.insert(empty_data_png.end(), png.begin() + 33, png.end());

    // A chunk that claims a gigabyte, in a file of a few dozen bytes.
    Bytes overlong_chunk_png = empty_data_png;
    overlong_chunk_png[33] = 0x40;

    const std::string text = "BM is not enough to make a bitmap\n";
    const std::vector<std::pair<std::string, Bytes>> cases = {
        {"empty", {}},
        {"text", Bytes(text.begin() + 3, text.end())},
        {"text starting with BM", Bytes(text.begin(), text.end())},
        {"PNG of 65536 by 65536", huge_png},
        {"PNG cut short", Bytes(png.begin(), png.end() - 20)},
        {"PNG with an empty image-data chunk", empty_data_png},
        {"PNG with a chunk longer than the file", overlong_chunk_png},
        {"PNG without its end chunk", Bytes(png.begin(), png.end() - 12)},
    };
    for (const auto& [name, bytes] : cases) EXPECT_FALSE(rgn::DecodePicture(bytes)) << name;
}

}  // namespace
