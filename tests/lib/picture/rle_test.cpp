// Run-length compressed BMPs: the stream walked from the bottom row up, with
// pixels that it skips left out of the shape.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/little_endian.h"
#include "picture/picture.h"
#include "picture/trace.h"

namespace {

using Bytes = std::vector<uint8_t>;
using rgn::Refusal;

// A 4 by 3 picture (or width by 3) whose table holds black (0), white (1) and
// a near black (2).
Bytes RleBmp(int bits, const Bytes& stream, uint32_t width = 4) {
    const Bytes table = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 8, 0};
    const auto offset = static_cast<uint32_t>(14 + 40 + table.size());
    Bytes f = {'B', 'M'};
    for (uint32_t v : {offset + static_cast<uint32_t>(stream.size()), 0u, offset, 40u, width, 3u}) {
        gfx::PutLe32(f, v);
    }
    gfx::PutLe16(f, 1);
    gfx::PutLe16(f, static_cast<uint32_t>(bits));
    for (uint32_t v : {bits == 8 ? 1u : 2u, static_cast<uint32_t>(stream.size()), 0u, 0u, 3u, 0u}) {
        gfx::PutLe32(f, v);
    }
    f.insert(f.end(), table.begin(), table.end());
    f.insert(f.end(), stream.begin(), stream.end());
    return f;
}

struct RleCase {
    std::string name;
    Bytes file;
    std::vector<gfx::Rect> black;  // rows from the top
};

TEST(RleTest, GivesTheBlackPixelsOfTheStream) {
    const std::vector<RleCase> cases = {
        // Bottom row first: two black, two white; the middle row white; one black at the top.
        {"encoded runs",
         RleBmp(8, {2, 0, 2, 1, 0, 0, 4, 1, 0, 0, 1, 1, 1, 0, 0, 0, 0, 1}),
         {{1, 0, 2, 1}, {0, 2, 2, 3}}},
        // Black is colour 0, yet what the stream skips stays out of the shape.
        {"delta and end of line skip pixels",
         RleBmp(8, {0, 2, 1, 1, 1, 0, 0, 0, 1, 2, 1, 0, 0, 1}),
         {{1, 0, 2, 1}, {1, 1, 2, 2}}},
        {"absolute run padded to 16 bits",
         RleBmp(8, {0, 3, 0, 2, 0, 0, 0, 1}),
         {{0, 2, 1, 3}, {2, 2, 3, 3}}},
        {"four-bit runs alternate",
         RleBmp(4, {4, 0x01, 0, 0, 0, 3, 0x10, 0x00, 0, 1}),
         {{0, 2, 1, 3}, {2, 2, 3, 3}, {1, 1, 3, 2}}},
        {"four-bit absolute run padded",
         RleBmp(4, {0, 5, 0x01, 0x20, 0x00, 0, 0, 1}),
         {{0, 2, 1, 3}, {3, 2, 4, 3}}},
        {"a run past the row's end is cut", RleBmp(8, {6, 0, 0, 0, 0, 1}), {{0, 2, 4, 3}}},
        {"no end of bitmap after the last row",
         RleBmp(8, {1, 0, 0, 0, 0, 0, 0, 0}),
         {{0, 2, 1, 3}}},
        {"delta past the top ends the picture", RleBmp(8, {1, 0, 0, 2, 0, 9}), {{0, 2, 1, 3}}},
        // Only the canvas square is kept.
        {"wider than the canvas", RleBmp(8, {255, 0, 255, 0, 0, 1}, 300), {{0, 2, 254, 3}}},
    };
    for (const RleCase& c : cases) {
        const rgn::PictureResult decoded = rgn::DecodePicture(c.file);
        const auto* picture = std::get_if<rgn::BlackSquare>(&decoded);
        ASSERT_TRUE(picture) << c.name;
        EXPECT_EQ(rgn::TraceBitmap(*picture, rgn::kCanvasSide), gfx::Region::FromRects(c.black))
            << c.name;
    }
}

TEST(RleTest, RefusesBrokenStreams) {
    const std::vector<std::pair<std::string, std::pair<Bytes, Refusal>>> cases = {
        {"cut after a count", {RleBmp(8, {2, 0, 2}), Refusal::Truncated}},
        {"cut inside a delta", {RleBmp(8, {0, 2, 1}), Refusal::Truncated}},
        {"cut inside an absolute run", {RleBmp(8, {0, 4, 0, 0}), Refusal::Truncated}},
        {"no end before the file ends", {RleBmp(8, {1, 0, 0, 0}), Refusal::Truncated}},
        {"colour past the table", {RleBmp(8, {1, 3, 0, 1}), Refusal::Corrupt}},
        {"four-bit colour past the table", {RleBmp(4, {2, 0x0F, 0, 1}), Refusal::Corrupt}},
    };
    for (const auto& [name, c] : cases) {
        const rgn::PictureResult decoded = rgn::DecodePicture(c.first);
        ASSERT_TRUE(std::holds_alternative<Refusal>(decoded)) << name;
        EXPECT_EQ(std::get<Refusal>(decoded), c.second) << name;
    }
}

}  // namespace
