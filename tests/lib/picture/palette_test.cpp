// BMPs with colour tables: a pixel that names an entry the table lacks makes
// the file corrupt (its colour would be invented), biClrUsed says where the
// table ends, and the old core header's 3-byte entries are read in full.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "picture/picture.h"
#include "picture/trace.h"
#include "test_picture.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rgntest::Picture;
using rgntest::RowOrder;

constexpr size_t kDataOffsetAt = 10;
constexpr uint32_t kInfoHeaderEnd = 14 + 40;

uint32_t Le32(const Bytes& f, size_t at) {
    return static_cast<uint32_t>(f[at] | f[at + 1] << 8 | f[at + 2] << 16 | f[at + 3] << 24);
}

// Black and white stripes, black first, so that black is entry 0.
Picture Stripes() {
    Picture picture = rgntest::WhitePicture(9, 3);
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; x += 2) picture.at(x, y) = gfx::kBlack;
    }
    return picture;
}

// The same picture with the 12-byte core header: 16-bit sizes and 3-byte
// colour entries, as old drawing programs write it.
Bytes ToCoreHeader(const Bytes& info_file) {
    const uint32_t data_offset = Le32(info_file, kDataOffsetAt);
    const uint32_t entries = (data_offset - kInfoHeaderEnd) / 4;
    const uint32_t new_offset = 14 + 12 + 3 * entries;
    const auto pixels = static_cast<uint32_t>(info_file.size() - data_offset);
    auto le16 = [](uint32_t v) {
        return std::vector<uint8_t>{static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
    };
    Bytes out = {'B', 'M'};
    for (uint32_t v : {new_offset + pixels, 0u, new_offset, 12u}) {
        for (uint8_t byte : le16(v & 0xFFFF)) out.push_back(byte);
        for (uint8_t byte : le16(v >> 16)) out.push_back(byte);
    }
    for (uint32_t v :
         {Le32(info_file, 18), Le32(info_file, 22), 1u, static_cast<uint32_t>(info_file[28])}) {
        for (uint8_t byte : le16(v)) out.push_back(byte);
    }
    for (uint32_t i = 0; i < entries; ++i) {
        const size_t at = kInfoHeaderEnd + 4 * i;
        out.insert(out.end(), info_file.begin() + static_cast<long>(at),
                   info_file.begin() + static_cast<long>(at + 3));
    }
    out.insert(out.end(), info_file.begin() + data_offset, info_file.end());
    return out;
}

bool IsCorrupt(const rgn::PictureResult& result) {
    const auto* refusal = std::get_if<rgn::Refusal>(&result);
    return refusal && *refusal == rgn::Refusal::Corrupt;
}

TEST(PaletteTest, CoreHeaderReadsEveryEntry) {
    for (int bits : {1, 4, 8}) {
        const Picture picture = Stripes();
        const Bytes file = ToCoreHeader(rgntest::WriteBmp(picture, bits, RowOrder::BottomUp));
        const rgn::PictureResult decoded = rgn::DecodePicture(file);
        const auto* square = std::get_if<rgn::BlackSquare>(&decoded);
        ASSERT_TRUE(square) << bits << " bits";
        EXPECT_EQ(rgn::TraceBitmap(*square, rgn::kCanvasSide), rgntest::BlackPixels(picture))
            << bits << " bits";
    }
}

struct ShortTable {
    std::string name;
    int bits;
    bool core;
    uint8_t first_byte;  // the first pixels of the bottom row
    size_t gap = 0;      // zero bytes between the table and the pixels
};

class ShortTableTest : public testing::TestWithParam<ShortTable> {};

// Two entries, black and white; the first pixel is set to a third one.
TEST_P(ShortTableTest, IndexPastTheTableIsRefused) {
    const ShortTable& c = GetParam();
    Bytes file = rgntest::WriteBmp(Stripes(), c.bits, RowOrder::BottomUp);
    if (c.core) file = ToCoreHeader(file);
    const uint32_t data_offset = Le32(file, kDataOffsetAt);
    file.insert(file.begin() + data_offset, c.gap, 0);
    rgntest::SetLe32(file, kDataOffsetAt, data_offset + static_cast<uint32_t>(c.gap));
    ASSERT_TRUE(std::holds_alternative<rgn::BlackSquare>(rgn::DecodePicture(file)));
    file[data_offset + c.gap] = c.first_byte;
    EXPECT_TRUE(IsCorrupt(rgn::DecodePicture(file)));
}

INSTANTIATE_TEST_SUITE_P(Bmp, ShortTableTest,
                         testing::Values(ShortTable{"FourBits", 4, false, 0x21},
                                         ShortTable{"EightBits", 8, false, 2},
                                         ShortTable{"LastNibble", 4, false, 0x0F},
                                         ShortTable{"EightBitsCore", 8, true, 255},
                                         // The gap's zeros would read as a black third entry.
                                         ShortTable{"IndexIntoTheGap", 8, false, 2, 8}),
                         [](const testing::TestParamInfo<ShortTable>& param) {
                             return param.param.name;
                         });

TEST(PaletteTest, OneEntryTableRefusesTheOtherBit) {
    Picture black = rgntest::WhitePicture(3, 1);
    for (int32_t x = 0; x < 3; ++x) black.at(x, 0) = gfx::kBlack;
    Bytes file = rgntest::WriteBmp(black, 1, RowOrder::BottomUp);
    // Bits past the width are padding and may be anything.
    file[Le32(file, kDataOffsetAt)] = 0x1F;
    ASSERT_TRUE(std::holds_alternative<rgn::BlackSquare>(rgn::DecodePicture(file)));
    file[Le32(file, kDataOffsetAt)] = 0x20;
    EXPECT_TRUE(IsCorrupt(rgn::DecodePicture(file)));
}

TEST(PaletteTest, NoTableIsRefused) {
    Bytes file = rgntest::WriteBmp(Stripes(), 8, RowOrder::BottomUp);
    // Pixels straight after the header leave no room for a single entry.
    const uint32_t data_offset = Le32(file, kDataOffsetAt);
    file.erase(file.begin() + kInfoHeaderEnd, file.begin() + data_offset);
    file[kDataOffsetAt] = kInfoHeaderEnd;
    EXPECT_TRUE(IsCorrupt(rgn::DecodePicture(file)));
}

}  // namespace
