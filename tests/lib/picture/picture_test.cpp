#include "picture/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "gfx/little_endian.h"
#include "picture/bmp.h"
#include "picture/trace.h"
#include "test_picture.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rgn::Refusal;
using rgntest::BmpHeader;
using rgntest::Picture;
using rgntest::RowOrder;
using rgntest::SetLe32;

constexpr gfx::Color kNearBlackRed{8, 0, 0};
constexpr gfx::Color kNearBlackBlue{0, 0, 8};
constexpr size_t kDataOffsetAt = 10;
constexpr size_t kInfoSizeAt = 14;
constexpr size_t kBitsAt = 28;
constexpr size_t kCompressionAt = 30;
constexpr size_t kColoursUsedAt = 46;

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

std::string Describe(const rgn::PictureResult& result) {
    if (std::holds_alternative<rgn::BlackSquare>(result)) return "a picture";
    static const char* const kNames[] = {"Unreadable", "Unsupported", "Corrupt", "Truncated",
                                         "TooLarge"};
    return kNames[static_cast<int>(std::get<Refusal>(result))];
}

// The decoded black pixels, or an empty region with the failure recorded.
gfx::Region BlackOf(const rgn::PictureResult& result, const std::string& what) {
    const auto* picture = std::get_if<rgn::BlackSquare>(&result);
    EXPECT_TRUE(picture) << what << ": " << Describe(result);
    return picture ? rgn::TraceBitmap(*picture, rgn::kCanvasSide) : gfx::Region();
}

// Moves the pixels `gap` bytes further from the headers.
void InsertGap(Bytes& f, size_t gap) {
    const uint32_t offset = gfx::Le32(f, kDataOffsetAt);
    f.insert(f.begin() + offset, gap, 0);
    SetLe32(f, kDataOffsetAt, offset + static_cast<uint32_t>(gap));
}

// The same file with its 40-byte info header grown to an OS/2 2.x one of size bytes.
void ToOs2Header(Bytes& f, uint32_t size) {
    f.insert(f.begin() + 14 + 40, size - 40, 0);
    SetLe32(f, kInfoSizeAt, size);
    SetLe32(f, kDataOffsetAt, gfx::Le32(f, kDataOffsetAt) + size - 40);
}

TEST(DecodePictureTest, ReadsEveryBmpKind) {
    for (int bits : {1, 2, 4, 8, 16, 24, 32}) {
        for (RowOrder order : {RowOrder::BottomUp, RowOrder::TopDown}) {
            for (BmpHeader header : {BmpHeader::Info, BmpHeader::V5}) {
                const Picture picture = Sample(bits);
                const std::string what = std::to_string(bits) +
                                         (order == RowOrder::TopDown ? " top-down" : " bottom-up") +
                                         (header == BmpHeader::V5 ? " V5" : "");
                const rgn::PictureResult decoded =
                    rgn::DecodePicture(rgntest::WriteBmp(picture, bits, order, header));
                EXPECT_EQ(BlackOf(decoded, what), rgntest::BlackPixels(picture)) << what;
                if (const auto* square = std::get_if<rgn::BlackSquare>(&decoded)) {
                    EXPECT_EQ(square->width, picture.width) << what;
                    EXPECT_EQ(square->height, picture.height) << what;
                }
            }
        }
    }
}

// Valid files that drawing programs and libraries write, beyond the common
// layout; each gives the sample's black pixels.
struct ValidCase {
    std::string name;
    int bits;
    BmpHeader header;
    void (*apply)(Bytes& file);
};

class ValidBmpTest : public testing::TestWithParam<ValidCase> {};

TEST_P(ValidBmpTest, GivesTheBlackPixels) {
    const ValidCase& c = GetParam();
    const Picture picture = Sample(c.bits);
    Bytes file = rgntest::WriteBmp(picture, c.bits, RowOrder::BottomUp, c.header);
    c.apply(file);
    EXPECT_EQ(BlackOf(rgn::DecodePicture(file), c.name), rgntest::BlackPixels(picture));
}

INSTANTIATE_TEST_SUITE_P(
    Bmp, ValidBmpTest,
    testing::Values(
        // The pixels start where the file header says, whatever lies before them.
        ValidCase{"ColourTableInTrueColour", 24, BmpHeader::Info,
                  [](Bytes& f) {
                      InsertGap(f, 8);
                      SetLe32(f, kColoursUsedAt, 2);
                  }},
        ValidCase{"GapBeforeBitfields", 16, BmpHeader::V5, [](Bytes& f) { InsertGap(f, 6); }},
        ValidCase{"GapBeforeThirtyTwoBits", 32, BmpHeader::Info, [](Bytes& f) { InsertGap(f, 1); }},
        // biClrUsed says where the table ends; the rest of a large gap is no colour.
        ValidCase{"LargeGapAfterTable", 8, BmpHeader::Info, [](Bytes& f) { InsertGap(f, 3000); }},
        ValidCase{"Os2HeaderOf64Bytes", 8, BmpHeader::Info, [](Bytes& f) { ToOs2Header(f, 64); }},
        ValidCase{"Os2HeaderCutTo16Bytes", 4, BmpHeader::Info,
                  [](Bytes& f) {
                      // Without biClrUsed the table has all 16 entries.
                      InsertGap(f, 4 * 12);
                      f.erase(f.begin() + 14 + 16, f.begin() + 14 + 40);
                      SetLe32(f, kInfoSizeAt, 16);
                      SetLe32(f, kDataOffsetAt, gfx::Le32(f, kDataOffsetAt) - 24);
                  }},
        ValidCase{"BitfieldsAfterTheInfoHeader", 16, BmpHeader::V5,
                  [](Bytes& f) {
                      f.erase(f.begin() + 14 + 52, f.begin() + 14 + 124);  // keep R, G, B masks
                      SetLe32(f, kInfoSizeAt, 40);
                      SetLe32(f, kDataOffsetAt, gfx::Le32(f, kDataOffsetAt) - 72);
                  }}),
    [](const testing::TestParamInfo<ValidCase>& param) { return param.param.name; });

// Masks of any width: a channel is black only at exactly 0, and bits outside
// the masks (here the top two) do not count.
TEST(DecodeBmpTest, WideMasksKeepEveryBit) {
    Bytes f = rgntest::WriteBmp(rgntest::WhitePicture(4, 1), 32, RowOrder::BottomUp, BmpHeader::V5);
    const uint32_t masks[] = {0x3FF00000u, 0x000FFC00u, 0x000003FFu};
    for (size_t i = 0; i < 3; ++i) SetLe32(f, 54 + 4 * i, masks[i]);
    const uint32_t pixels[] = {0, 1, 0x00100000u, 0xC0000000u};
    const uint32_t data = gfx::Le32(f, kDataOffsetAt);
    for (size_t x = 0; x < 4; ++x) SetLe32(f, data + 4 * x, pixels[x]);
    gfx::Region expected;
    expected.AddRect({0, 0, 1, 1});
    expected.AddRect({3, 0, 4, 1});
    EXPECT_EQ(BlackOf(rgn::DecodePicture(f), "wide masks"), expected);
}

struct RefusalCase {
    std::string name;
    Bytes (*make)();
    void (*change)(Bytes& file);
    Refusal reason;
};

class RefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(RefusalTest, GivesTheReason) {
    const RefusalCase& c = GetParam();
    Bytes file = c.make();
    if (c.change) c.change(file);
    EXPECT_EQ(Describe(rgn::DecodePicture(file)), Describe(c.reason));
}

Bytes Bmp24() { return rgntest::WriteBmp(Sample(24), 24, RowOrder::BottomUp); }

Bytes Png(int bit_depth, int colour_type, const Bytes& row) {
    Bytes rows = {0};
    rows.insert(rows.end(), row.begin(), row.end());
    const int samples = colour_type == 6 ? 4 : colour_type == 2 ? 3 : colour_type == 4 ? 2 : 1;
    const int width = static_cast<int>(row.size()) / (samples * bit_depth / 8);
    return rgntest::WritePng(width, 1, bit_depth, colour_type, rows);
}

Bytes SmallPng() { return Png(8, 0, {0}); }

INSTANTIATE_TEST_SUITE_P(
    Pictures, RefusalTest,
    testing::Values(
        RefusalCase{"Empty", [] { return Bytes{}; }, nullptr, Refusal::Unsupported},
        RefusalCase{"Text",
                    [] {
                        const std::string text = "not a picture\n";
                        return Bytes(text.begin(), text.end());
                    },
                    nullptr, Refusal::Unsupported},
        RefusalCase{"LastByteMissing", Bmp24, [](Bytes& f) { f.pop_back(); }, Refusal::Truncated},
        RefusalCase{"FileHeaderOnly", Bmp24, [](Bytes& f) { f.resize(14); }, Refusal::Truncated},
        RefusalCase{"PixelsInsideTheHeader", Bmp24, [](Bytes& f) { SetLe32(f, kDataOffsetAt, 20); },
                    Refusal::Corrupt},
        RefusalCase{"PixelsPastTheEnd", Bmp24,
                    [](Bytes& f) { SetLe32(f, kDataOffsetAt, static_cast<uint32_t>(f.size())); },
                    Refusal::Truncated},
        RefusalCase{"HugeDataOffset", Bmp24,
                    [](Bytes& f) { SetLe32(f, kDataOffsetAt, 0xFFFFFFF0u); }, Refusal::Truncated},
        RefusalCase{"WidthZero", Bmp24, [](Bytes& f) { SetLe32(f, 18, 0); }, Refusal::Corrupt},
        RefusalCase{"NegativeWidth", Bmp24, [](Bytes& f) { SetLe32(f, 18, 0xFFFFFFF3u); },
                    Refusal::Corrupt},
        RefusalCase{"LowestHeight", Bmp24, [](Bytes& f) { SetLe32(f, 22, 0x80000000u); },
                    Refusal::Corrupt},
        RefusalCase{"TwoPlanes", Bmp24, [](Bytes& f) { f[26] = 2; }, Refusal::Corrupt},
        RefusalCase{"HugeSize", Bmp24,
                    [](Bytes& f) { SetLe32(f, 18, 100000), SetLe32(f, 22, 100000); },
                    Refusal::Truncated},
        RefusalCase{"TallerThanTheData", Bmp24, [](Bytes& f) { SetLe32(f, 22, 8); },
                    Refusal::Truncated},
        RefusalCase{"UnknownInfoHeader", Bmp24, [](Bytes& f) { SetLe32(f, kInfoSizeAt, 100); },
                    Refusal::Unsupported},
        RefusalCase{"OddDepth", Bmp24, [](Bytes& f) { f[kBitsAt] = 7; }, Refusal::Corrupt},
        RefusalCase{"SixtyFourBits", Bmp24, [](Bytes& f) { f[kBitsAt] = 64; },
                    Refusal::Unsupported},
        RefusalCase{"JpegInside", Bmp24, [](Bytes& f) { f[kCompressionAt] = 4; },
                    Refusal::Unsupported},
        RefusalCase{"PngInside", Bmp24, [](Bytes& f) { f[kCompressionAt] = 5; },
                    Refusal::Unsupported},
        RefusalCase{"Os2Huffman1D", Bmp24,
                    [](Bytes& f) { f[kCompressionAt] = 3, ToOs2Header(f, 64); },
                    Refusal::Unsupported},
        RefusalCase{"Os2Rle24", Bmp24, [](Bytes& f) { f[kCompressionAt] = 4, ToOs2Header(f, 64); },
                    Refusal::Unsupported},
        RefusalCase{"RleOfTheWrongDepth", Bmp24, [](Bytes& f) { f[kCompressionAt] = 1; },
                    Refusal::Corrupt},
        RefusalCase{
            "TopDownRle", Bmp24,
            [](Bytes& f) { f[kBitsAt] = 8, f[kCompressionAt] = 1, SetLe32(f, 22, 0u - 7u); },
            Refusal::Corrupt},
        RefusalCase{"BitfieldsWithoutRoomForMasks", Bmp24,
                    [](Bytes& f) { f[kBitsAt] = 16, f[kCompressionAt] = 3; }, Refusal::Corrupt},
        // The size in the first chunk, whose checksum the decoder ignores.
        RefusalCase{"PngOf65536By65536", SmallPng,
                    [](Bytes& f) {
                        for (size_t at : {16u, 20u}) {
                            f[at] = 0, f[at + 1] = 1, f[at + 2] = 0, f[at + 3] = 0;
                        }
                    },
                    Refusal::TooLarge},
        RefusalCase{"PngCutShort", SmallPng, [](Bytes& f) { f.erase(f.end() - 20, f.end()); },
                    Refusal::Truncated},
        RefusalCase{"PngWithoutEndChunk", SmallPng, [](Bytes& f) { f.erase(f.end() - 12, f.end()); },
                    Refusal::Truncated},
        RefusalCase{"PngChunkLongerThanTheFile", SmallPng, [](Bytes& f) { f[33] = 0x40; },
                    Refusal::Truncated},
        // An empty image-data chunk before the real one, as a fuzzer found it.
        RefusalCase{"PngWithEmptyImageData", SmallPng,
                    [](Bytes& f) {
                        const Bytes empty = {0,   0,   0,    0,    'I',  'D',
                                             'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
                        f.insert(f.begin() + 33, empty.begin(), empty.end());
                    },
                    Refusal::Corrupt}),
    [](const testing::TestParamInfo<RefusalCase>& param) { return param.param.name; });

// A PNG pixel is black only where it stays black over white: fully opaque
// and exactly 0, in 16 bits too. Each row holds candidates left to right;
// the expected black ones are listed by x.
struct PngCase {
    std::string name;
    Bytes file;
    std::vector<int32_t> black_x;
};

TEST(DecodePictureTest, PngBlackIsOpaqueAndExactlyZero) {
    const Bytes palette = {0, 0, 0, 0, 0, 0, 255, 255, 255};
    Bytes wide_row(70000, 255);
    wide_row[0] = wide_row[253] = wide_row[254] = 0;
    const std::vector<PngCase> cases = {
        {"rgba", Png(8, 6, {0, 0, 0, 0, 0, 0, 0, 255, 0, 0, 0, 254, 1, 0, 0, 255}), {1}},
        {"grey and alpha", Png(8, 4, {0, 0, 0, 255, 1, 255}), {1}},
        {"grey 16", Png(16, 0, {0, 0, 0, 1, 1, 0}), {0}},
        {"rgb 16", Png(16, 2, {0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0}), {1}},
        {"rgba 16", Png(16, 6, {0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 0, 0, 255, 254}), {0}},
        // A transparent background of black entries.
        {"palette with transparency",
         rgntest::WritePng(3, 1, 8, 3, {0, 0, 1, 2}, {{"PLTE", palette}, {"tRNS", {0}}}),
         {1}},
        {"wider than 65536", Png(8, 0, wide_row), {0, 253}},
    };
    for (const PngCase& c : cases) {
        gfx::Region expected;
        for (int32_t x : c.black_x) expected.AddRect({x, 0, x + 1, 1});
        EXPECT_EQ(BlackOf(rgn::DecodePicture(c.file), c.name), expected) << c.name;
    }
}

// A source of a file that never was: its headers, then as many zero bytes as
// its size says. It counts the bytes read.
class SyntheticSource final : public rgn::ByteSource {
public:
    SyntheticSource(Bytes headers, uint64_t size) : headers_(std::move(headers)), size_(size) {}
    [[nodiscard]] uint64_t size() const override { return size_; }
    std::optional<size_t> ReadAt(uint64_t offset, std::span<uint8_t> out) const override {
        const auto count =
            static_cast<size_t>(std::min<uint64_t>(out.size(), size_ - std::min(offset, size_)));
        for (size_t i = 0; i < count; ++i) {
            out[i] = offset + i < headers_.size() ? headers_[offset + i] : 0;
        }
        read_ += count;
        return count;
    }
    [[nodiscard]] uint64_t read() const { return read_; }

private:
    Bytes headers_;
    uint64_t size_;
    mutable uint64_t read_ = 0;
};

// Headers of an uncompressed BMP whose pixels all are 0: black at 16, 24 and
// 32 bits, colour 0 of a black-and-white table at 1 to 8 bits.
Bytes ZeroBmpHeaders(int64_t width, int64_t height, int bits) {
    Bytes f = {'B', 'M'};
    const bool table = bits <= 8;
    for (uint32_t v : {0u, 0u, table ? 62u : 54u, 40u}) gfx::PutLe32(f, v);
    gfx::PutLe32(f, static_cast<uint32_t>(width));
    gfx::PutLe32(f, static_cast<uint32_t>(height));
    gfx::PutLe16(f, 1);
    gfx::PutLe16(f, static_cast<uint32_t>(bits));
    for (int i = 0; i < 6; ++i) gfx::PutLe32(f, i == 4 && table ? 2 : 0);
    if (table) f.insert(f.end(), {0, 0, 0, 0, 255, 255, 255, 0});
    return f;
}

// Only the bytes of the canvas square are read, however large the picture:
// the rows below it and the bytes right of it are skipped.
TEST(DecodeBmpTest, ReadsOnlyTheSquare) {
    struct Case {
        std::string name;
        int64_t width;
        int64_t height;  // negative: top-down
        int bits;
    };
    const std::vector<Case> cases = {
        {"4097 by 4096 at one bit", 4097, 4096, 1},
        {"100000 by 1 at 24 bits", 100000, 1, 24},
        {"a million square at 32 bits", 1000000, 1000000, 32},
        {"a million square top-down at 8 bits", 1000000, -1000000, 8},
    };
    for (const Case& c : cases) {
        const Bytes headers = ZeroBmpHeaders(c.width, c.height, c.bits);
        const uint64_t row_size =
            (static_cast<uint64_t>(c.width) * static_cast<uint64_t>(c.bits) + 31) / 32 * 4;
        const auto rows = static_cast<uint64_t>(std::abs(c.height));
        const SyntheticSource source(headers, headers.size() + row_size * rows);
        const rgn::PictureResult decoded = rgn::DecodeBmp(source);
        const int32_t side_x = static_cast<int32_t>(std::min<int64_t>(c.width, 254));
        const int32_t side_y = static_cast<int32_t>(std::min<uint64_t>(rows, 254));
        EXPECT_EQ(BlackOf(decoded, c.name), gfx::Region::FromRect({0, 0, side_x, side_y}))
            << c.name;
        // Each of the square's rows from its first byte to the canvas edge, at most.
        const uint64_t needed =
            static_cast<uint64_t>(side_y) * std::min<uint64_t>(row_size, 254 * 4);
        constexpr uint64_t kHeadersAndTable = 14 + 124 + 4 * 256;
        EXPECT_LE(source.read(), kHeadersAndTable + needed) << c.name;
    }
}

// Rows below the square are not read, but a file must still hold them all.
TEST(DecodeBmpTest, RowsMissingBelowTheSquareAreTruncation) {
    const Bytes headers = ZeroBmpHeaders(10, -300, 24);
    const SyntheticSource source(headers, headers.size() + 32 * 300 - 1);
    const rgn::PictureResult decoded = rgn::DecodeBmp(source);
    EXPECT_EQ(Describe(decoded), Describe(Refusal::Truncated));
}

}  // namespace
