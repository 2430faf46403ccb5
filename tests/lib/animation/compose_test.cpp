#include <gtest/gtest.h>

#include "animation/compose.h"
#include "support/character_files.h"
#include "zep/canvas.h"
#include "zep/script.h"

namespace player {
namespace {

using player_test::PixelsOf;

const gfx::Region kStrokes[] = {gfx::Region::FromRect({10, 10, 60, 30}), gfx::Region::FromRect({100, 40, 120, 240}),
                                gfx::Region::FromRect({50, 200, 250, 210})};

class ComposeTest : public ::testing::Test {
protected:
    void Load(const std::string& script, size_t files) {
        commands_ = ParseScript(script);
        for (size_t n = 0; n < files; ++n) {
            files_.push_back(dir_.Write(std::to_string(n) + ".rgn", player_test::RegionFileBytes(kStrokes[n])));
        }
    }
    CanvasState State() const { return {commands_, files_, shown_, frame_}; }
    std::string Compose() { return ComposeFrame(target_, {0, 0, 320, 280}, State()); }

    player_test::ScratchDir dir_;
    std::vector<StrokeCommand> commands_;
    std::vector<std::filesystem::path> files_;
    int32_t shown_ = -1;
    std::shared_ptr<const gfx::Bitmap> frame_;
    gfx::Bitmap target_ = *gfx::Bitmap::Create(320, 280, gfx::PixelFormat::Rgb32);
};

TEST_F(ComposeTest, EmptyPlayerAsksForAFile) {
    EXPECT_EQ(Compose(), "");
    EXPECT_EQ(target_.GetPixel(300, 10), gfx::kGray);
    EXPECT_EQ(target_.GetPixel(10, 270), gfx::kGray);
    EXPECT_EQ(target_.GetPixel(2, 2), gfx::kLightGray);
    // The prompt is one line across the middle of the canvas.
    const gfx::Rect text = PixelsOf(target_, gfx::kBlack).Bounds();
    EXPECT_FALSE(text.IsEmpty());
    EXPECT_NEAR((text.top + text.bottom) / 2, 127, 2);
    EXPECT_NEAR((text.left + text.right) / 2, 127, 2);
    EXPECT_LT(text.bottom - text.top, 30);
}

TEST_F(ComposeTest, IdleShowsTheWholeCharacter) {
    Load("D;W;L,0;P,0,90,127,127", 3);
    EXPECT_EQ(Compose(), "");
    EXPECT_EQ(PixelsOf(target_, gfx::kBlack), kStrokes[0].United(kStrokes[1]).United(kStrokes[2]));
    EXPECT_EQ(target_.GetPixel(300, 10), gfx::kGray);
}

TEST_F(ComposeTest, StrokesBeyondTheRegionFilesAreLeftOut) {
    Load("D;D;D", 1);
    EXPECT_EQ(Compose(), "");
    EXPECT_EQ(PixelsOf(target_, gfx::kBlack), kStrokes[0]);
}

TEST_F(ComposeTest, WaitOnlyScriptIsAPlainWhiteCanvas) {
    Load("W;W", 0);
    EXPECT_EQ(Compose(), "");
    EXPECT_EQ(PixelsOf(target_, gfx::kWhite), gfx::Region::FromRect(kCanvas));
}

TEST_F(ComposeTest, StepModeShowsOneStrokeAndItsNumber) {
    Load("D;D;D", 3);
    frame_ = std::make_shared<const gfx::Bitmap>(*gfx::Bitmap::Create(254, 254, gfx::PixelFormat::Rgb32));
    const std::pair<int32_t, const char*> steps[] = {{0, "0"}, {2, "2"}, {3, ""}, {-2, ""}};
    for (const auto& [shown, counter] : steps) {
        shown_ = shown;
        EXPECT_EQ(Compose(), counter) << shown;
        const gfx::Region expected = *counter ? kStrokes[shown] : gfx::Region();
        EXPECT_EQ(PixelsOf(target_, gfx::kBlack), expected) << shown;
        EXPECT_EQ(target_.GetPixel(253, 0), gfx::kWhite) << shown;
    }
}

TEST_F(ComposeTest, StepModeNamesAStrokeWhoseFileIsBroken) {
    Load("D;D", 1);
    files_.push_back(dir_.Write("broken.rgn", std::string("h\0\0\0\0", 5)));
    shown_ = 1;
    EXPECT_EQ(Compose(), "1");
    EXPECT_EQ(PixelsOf(target_, gfx::kWhite), gfx::Region::FromRect(kCanvas));
}

TEST_F(ComposeTest, PlaybackCopiesTheFrameUnchanged) {
    Load("D", 1);
    auto frame = *gfx::Bitmap::Create(254, 254, gfx::PixelFormat::Rgb32);
    frame.FillRect({5, 5, 9, 250}, gfx::kRed);
    frame.FillRect({200, 0, 254, 3}, gfx::kBlack);
    frame_ = std::make_shared<const gfx::Bitmap>(frame);
    EXPECT_EQ(Compose(), "");
    EXPECT_EQ(PixelsOf(target_, gfx::kRed), gfx::Region::FromRect({5, 5, 9, 250}));
    EXPECT_EQ(PixelsOf(target_, gfx::kBlack), gfx::Region::FromRect({200, 0, 254, 3}));
    EXPECT_EQ(target_.GetPixel(300, 10), gfx::kGray);

    // Saved at one bit per pixel, everything that is not white is black.
    auto mono = *gfx::Bitmap::Create(254, 254, gfx::PixelFormat::Mono1);
    EXPECT_EQ(ComposeFrame(mono, kCanvas, State()), "");
    EXPECT_EQ(PixelsOf(mono, gfx::kBlack),
              gfx::Region::FromRect({5, 5, 9, 250}).United(gfx::Region::FromRect({200, 0, 254, 3})));
}

TEST_F(ComposeTest, EmptyPlayerAtOneBitKeepsThePromptLegible) {
    auto mono = *gfx::Bitmap::Create(254, 254, gfx::PixelFormat::Mono1);
    ComposeFrame(mono, kCanvas, State());
    Compose();
    // Light gray turns white, the text stays black: the same text pixels.
    EXPECT_EQ(PixelsOf(mono, gfx::kBlack), PixelsOf(target_, gfx::kBlack));
    EXPECT_EQ(mono.GetPixel(0, 0), gfx::kWhite);
}

}  // namespace
}  // namespace player
