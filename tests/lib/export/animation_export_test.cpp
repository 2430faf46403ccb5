// The exports of a whole document, read back by stb_image and held against
// what the player shows: the engine's frames on its own timeline, the still
// picture at the end, and the canvas of each step.
#include "export/animation_export.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include <zlib.h>

#include "animation/compose.h"
#include "animation/engine.h"
#include "animation/recording_effects.h"
#include "stb_decode.h"
#include "support/character_files.h"
#include "zep/canvas.h"

namespace player {
namespace {

using export_test::Pixels;

namespace fs = std::filesystem;

constexpr int32_t kHoldMs = 1500;

std::vector<uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

gfx::Bitmap Composed(const Document& document, int32_t shown_stroke) {
    gfx::Bitmap canvas = *gfx::Bitmap::Create(kCanvasSide, kCanvasSide, gfx::PixelFormat::Rgb32);
    ComposeFrame(canvas, kCanvas, {document.commands, document.region_files, shown_stroke, {}});
    return canvas;
}

// The five-stroke sample with its second region file broken, which the player
// plays and shows without that stroke.
class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path samples = SAMPLES_DIR;
        for (int n = 0; n < 5; ++n) {
            const std::string name = "ei-0" + std::to_string(n) + ".rgn";
            fs::copy_file(samples / name, dir_.path() / name);
        }
        fs::copy_file(samples / "ei.zep", dir_.path() / "ei.zep");
        dir_.Write("ei-01.rgn", "not a region");
        std::error_code ec;
        document_ = *ReadDocument(dir_.path() / "ei.zep", ec);
    }

    player_test::ScratchDir dir_;
    Document document_;
};

// The picture shown at every moment a frame of the engine starts (plus the
// 5 ms a start may move by rounding) is that frame, and the file lasts the
// nominal total within 10 ms with no delay a viewer would stretch.
TEST_F(ExportTest, GifShowsTheEnginesFramesOnItsTimeline) {
    PlayingFlag playing(1);
    RecordingEffects recorder(playing);
    RunAnimation(document_.commands, document_.region_files, playing, recorder);
    const std::vector<TimedFrame> engine = recorder.Frames();
    ASSERT_GT(engine.size(), 20u);

    std::error_code ec;
    ASSERT_TRUE(ExportGif(document_, dir_.path() / "ei.gif", kHoldMs, GifLoop::Forever, ec));
    const std::optional<export_test::Animation> gif =
        export_test::DecodeGif(ReadBytes(dir_.path() / "ei.gif"));
    ASSERT_TRUE(gif);
    std::vector<int64_t> starts{0};
    for (const int32_t delay : gif->delays_ms) {
        EXPECT_GE(delay, 20);
        starts.push_back(starts.back() + delay);
    }
    EXPECT_LE(std::abs(starts.back() - (engine.back().shown_at + kHoldMs)), 10);
    for (size_t i = 0; i < engine.size(); ++i) {
        if (engine[i].duration < 10) continue;  // too short for any GIF to show
        const int64_t at = engine[i].shown_at + 5;
        const auto shown = static_cast<size_t>(
            std::upper_bound(starts.begin(), starts.end() - 1, at) - starts.begin() - 1);
        EXPECT_EQ(gif->frames[shown].pixels, Pixels(*engine[i].frame)) << "frame " << i;
    }
    EXPECT_EQ(gif->frames.back().pixels, Pixels(Composed(document_, -1)))
        << "ends with the still picture of the finished character";
}

// Cell n holds in red what step n shows and in black what steps before it
// show; its number sits in the top left corner.
TEST_F(ExportTest, SheetCellsAreTheStepsOfThePlayer) {
    constexpr int32_t kPitch = 255;
    constexpr int32_t kColumns = 3;
    std::error_code ec;
    ASSERT_TRUE(ExportSheet(document_, dir_.path() / "ei.png", kColumns, ec));
    const std::optional<export_test::Picture> sheet =
        export_test::DecodePng(ReadBytes(dir_.path() / "ei.png"));
    ASSERT_TRUE(sheet);
    ASSERT_EQ(sheet->width, kColumns * kPitch + 1 + 2 * kSheetMargin);
    std::vector<bool> earlier(kCanvasSide * kCanvasSide, false);
    for (int32_t n = 0; n < 5; ++n) {
        const std::vector<uint32_t> step = Pixels(Composed(document_, n));
        const int32_t left = kSheetMargin + 1 + n % kColumns * kPitch;
        const int32_t top = kSheetMargin + 1 + n / kColumns * kPitch;
        int32_t wrong = 0;
        for (int32_t y = 0; y < kCanvasSide; ++y) {
            for (int32_t x = 0; x < kCanvasSide; ++x) {
                if (x < 24 && y < 28) continue;  // the number
                const size_t at = static_cast<size_t>(y * kCanvasSide + x);
                const uint32_t got =
                    sheet->pixels[static_cast<size_t>((top + y) * sheet->width + left + x)];
                const bool newest = step[at] == 0;
                if (newest != (got == 0xFF0000u)) ++wrong;
                if (!newest && earlier[at] != (got == 0)) ++wrong;
                earlier[at] = earlier[at] || newest;
            }
        }
        EXPECT_EQ(wrong, 0) << "cell " << n;
    }
}

// The file says its resolution (pHYs, right after IHDR), so that a cell with
// its grid line prints 20 mm wide in any program.
TEST_F(ExportTest, SheetPrintsTwentyMillimetresACell) {
    std::error_code ec;
    ASSERT_TRUE(ExportSheet(document_, dir_.path() / "ei.png", 3, ec));
    const std::vector<uint8_t> png = ReadBytes(dir_.path() / "ei.png");
    constexpr size_t kPhys = 8 + 25;  // the signature and IHDR
    ASSERT_GT(png.size(), kPhys + 21);
    const auto big_endian = [&](size_t at) {
        return uint32_t{png[at]} << 24 | uint32_t{png[at + 1]} << 16 |
               uint32_t{png[at + 2]} << 8 | png[at + 3];
    };
    ASSERT_EQ(std::string(png.begin() + kPhys + 4, png.begin() + kPhys + 8), "pHYs");
    EXPECT_EQ(big_endian(kPhys), 9u);
    const uint32_t across = big_endian(kPhys + 8);
    EXPECT_EQ(big_endian(kPhys + 12), across);
    EXPECT_EQ(png[kPhys + 16], 1) << "the unit is the metre";
    EXPECT_NEAR(255.0 / across * 1000.0, 20.0, 0.05) << "millimetres a cell";
    EXPECT_EQ(crc32(0, png.data() + kPhys + 4, 4 + 9), big_endian(kPhys + 17)) << "zlib's CRC";
    EXPECT_TRUE(export_test::DecodePng(png)) << "the picture still reads";
}

}  // namespace
}  // namespace player
