#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "animation/bmpwrite.h"
#include "support/character_files.h"
#include "support/file_size_limit.h"

namespace player {
namespace {

namespace fs = std::filesystem;

uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t{b[at]} | uint32_t{b[at + 1]} << 8 | uint32_t{b[at + 2]} << 16 | uint32_t{b[at + 3]} << 24;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

gfx::Bitmap Canvas() {
    auto bitmap = *gfx::Bitmap::Create(254, 254, gfx::PixelFormat::Mono1);
    bitmap.FillRect({0, 0, 1, 1}, gfx::kBlack);
    bitmap.FillRect({253, 253, 254, 254}, gfx::kBlack);
    return bitmap;
}

TEST(EncodeBitmapFileTest, OneBitCanvasLayout) {
    const std::vector<uint8_t> b = *EncodeBitmapFile(Canvas());
    ASSERT_EQ(b.size(), 8190u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    const std::pair<size_t, uint32_t> fields[] = {
        {2, 8190}, {6, 0}, {10, 62}, {14, 40}, {18, 254}, {22, 254}, {26, 1 | 1 << 16},
        {30, 0},   {34, 8128}, {38, 0}, {42, 0}, {46, 0}, {50, 0}};
    for (const auto& [at, value] : fields) EXPECT_EQ(Get32(b, at), value) << "offset " << at;
    EXPECT_EQ(std::vector<uint8_t>(b.begin() + 54, b.begin() + 62), (std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
    // File row 0 is the canvas's bottom row: x = 253 black, padding bits 0.
    EXPECT_EQ(b[62], 0xFF);
    EXPECT_EQ(b[62 + 31], 0xF8);
    // The top row comes last: x = 0 black.
    EXPECT_EQ(b[62 + 253 * 32], 0x7F);
    EXPECT_EQ(b[62 + 253 * 32 + 31], 0xFC);
}

TEST(EncodeBitmapFileTest, ScreenFormatHasNoColourTable) {
    const std::vector<uint8_t> b = *EncodeBitmapFile(*gfx::Bitmap::Create(3, 2, gfx::PixelFormat::Rgb32));
    EXPECT_EQ(b.size(), 54u + 24u);
    EXPECT_EQ(Get32(b, 10), 54u);
    EXPECT_EQ(b[28], 32);
}

class SaveBitmapFileTest : public ::testing::Test {
protected:
    size_t FilesInDir() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_.path()), fs::directory_iterator()));
    }
    player_test::ScratchDir dir_;
    std::error_code ec_;
};

TEST_F(SaveBitmapFileTest, WritesAndReplaces) {
    const fs::path file = dir_.Write("out.bmp", "old contents");
    ec_ = std::make_error_code(std::errc::io_error);
    ASSERT_TRUE(SaveBitmapFile(file, Canvas(), ec_));
    EXPECT_FALSE(ec_);
    const std::vector<uint8_t> expected = *EncodeBitmapFile(Canvas());
    EXPECT_EQ(ReadFile(file), std::string(expected.begin(), expected.end()));
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(SaveBitmapFileTest, FailuresLeaveNothingBehind) {
    EXPECT_FALSE(SaveBitmapFile(dir_.path() / "missing" / "out.bmp", Canvas(), ec_));
    EXPECT_EQ(ec_, std::errc::no_such_file_or_directory);
    fs::create_directory(dir_.path() / "folder");
    EXPECT_FALSE(SaveBitmapFile(dir_.path() / "folder", Canvas(), ec_));
    EXPECT_TRUE(ec_);
    EXPECT_TRUE(fs::is_directory(dir_.path() / "folder"));
    EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(SaveBitmapFileTest, AFailedWriteKeepsTheOldFile) {
    const fs::path file = dir_.Write("out.bmp", "old contents");
    // Files may not grow past 1000 bytes: the write fails as on a full disk.
    bool saved_ok = true;
    {
        const testsupport::FileSizeLimit limit(1000);
        if (!limit.Active()) GTEST_SKIP() << "no file size limit to make a write fail (Windows has none)";
        saved_ok = SaveBitmapFile(file, Canvas(), ec_);
    }

    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(ec_, std::errc::file_too_large);
    EXPECT_EQ(ReadFile(file), "old contents");
    EXPECT_EQ(FilesInDir(), 1u);
}

}  // namespace
}  // namespace player
