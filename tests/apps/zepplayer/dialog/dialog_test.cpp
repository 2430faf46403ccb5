// The dialog's handlers and its animation thread, with a window that records
// what it was asked to do and pauses 50 times faster than the real one.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <fstream>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>

#include "animation/bmpwrite.h"
#include "animation/compose.h"
#include "dialog_test_host.h"
#include "test_character.h"
#include "zep/script.h"
#include "zepplayer/dialog.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/player_state.h"

namespace player {
namespace {

namespace fs = std::filesystem;
using dialog_test::FakeHost;

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog_test::ResetPlayer();
        dir_ = fs::temp_directory_path() /
               ("zep_dialog_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        three_bars_ = dialog_test::WriteCharacter(dir_, "bars", "D;W;D;W;D;", dialog_test::kThreeBars);
    }
    void TearDown() override {
        OnDestroy();
        dialog_test::ResetPlayer();
        fs::remove_all(dir_);
    }

    // Waits until the animation has ended by itself, then for its thread.
    bool WaitForAnimationEnd() {
        const bool ended = dialog_test::WaitFor([] { return Playing.load() == 0; });
        OnDestroy();
        OnInitDialog(host_, std::nullopt);
        return ended;
    }

    // The picture the window shows now, on a canvas-sized client area.
    std::string Paint(gfx::Bitmap& target) {
        OnPaint(target, kCanvas);
        return host_.Counter();
    }

    FakeHost host_;
    fs::path dir_;
    fs::path three_bars_;
};

TEST_F(DialogTest, TheCommandLineArgumentIsLoadedAtStart) {
    const struct {
        const char* name;
        std::optional<fs::path> argument;
        size_t commands;
        std::error_code reason;  // why it did not load, for the program to say
    } cases[] = {
        {"no argument", std::nullopt, 0, {}},
        {"a script", three_bars_, 5, {}},
        {"not a script", dir_ / "bars-00.rgn", 0, std::make_error_code(std::errc::not_supported)},
        {"missing", dir_ / "missing.zep", 0,
         std::make_error_code(std::errc::no_such_file_or_directory)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dialog_test::ResetPlayer();
        FakeHost host;
        EXPECT_EQ(OnInitDialog(host, c.argument), c.reason);
        EXPECT_EQ(Commands.size(), c.commands);
        // A load repaints the whole client area, whether it succeeds or not.
        const std::vector<FakeHost::Repaint> repaints = host.Repaints();
        ASSERT_EQ(repaints.size(), c.argument ? 1u : 0u);
        if (c.argument) {
            EXPECT_EQ(repaints[0].area, RepaintArea::Client);
        }
        OnDestroy();
    }
}

TEST_F(DialogTest, ADropLoadsItsFirstFileOnly) {
    const fs::path other = dialog_test::WriteCharacter(dir_, "other", "W;W;", {});
    OnInitDialog(host_, std::nullopt);
    OnDropFiles({three_bars_, other});
    EXPECT_EQ(Commands, ParseScript("D;W;D;W;D;"));
    EXPECT_EQ(RegionFiles.size(), 3u);
    OnDropFiles({});
    EXPECT_EQ(Commands.size(), 5u);
}

TEST_F(DialogTest, EnterAndEscEndTheDialogWithTheirIds) {
    OnInitDialog(host_, std::nullopt);
    OnCommand(kIdOk);
    OnCommand(kIdCancel);
    OnCommand(4711);
    EXPECT_EQ(host_.Ended(), (std::vector<int32_t>{kIdOk, kIdCancel}));
}

TEST_F(DialogTest, StepButtonsWalkTheStrokesAndStopAtBothEnds) {
    OnInitDialog(host_, three_bars_);
    auto bitmap = gfx::Bitmap::Create(kCanvasSide, kCanvasSide, gfx::PixelFormat::Rgb32);
    const struct {
        int32_t button;
        int32_t shown;
    } presses[] = {{kIdPrevious, 0}, {kIdNext, 1}, {kIdNext, 2}, {kIdNext, 2},
                   {kIdPrevious, 1}, {kIdPrevious, 0}, {kIdPrevious, 0}};
    for (const auto& press : presses) {
        OnCommand(press.button);
        EXPECT_EQ(ShownStroke.load(), press.shown);
        EXPECT_EQ(Paint(*bitmap), std::to_string(press.shown));
        // The one stroke alone, black on white.
        const gfx::Rect bar = dialog_test::kThreeBars[static_cast<size_t>(press.shown)];
        EXPECT_EQ(bitmap->GetPixel(bar.left, bar.top), gfx::kBlack);
        for (const gfx::Rect& other : dialog_test::kThreeBars) {
            if (!(other == bar) && !bar.Contains(other.right - 1, other.bottom - 1)) {
                EXPECT_EQ(bitmap->GetPixel(other.right - 1, other.bottom - 1), gfx::kWhite);
            }
        }
    }
    // Each press gave a running animation 200 ms to notice, then repainted all.
    EXPECT_EQ(host_.DialogSleeps(), std::vector<int32_t>(std::size(presses), 200));
    EXPECT_EQ(host_.Repaints().back().area, RepaintArea::Client);

    OnCommand(kIdStop);
    EXPECT_EQ(ShownStroke.load(), -1);
    EXPECT_EQ(Paint(*bitmap), "");
}

TEST_F(DialogTest, StepWithoutRegionFilesShowsAWhiteCanvasAndNoNumber) {
    OnInitDialog(host_, dialog_test::WriteCharacter(dir_, "bare", "D;", {}));
    auto bitmap = gfx::Bitmap::Create(kCanvasSide, kCanvasSide, gfx::PixelFormat::Rgb32);
    OnCommand(kIdNext);
    EXPECT_EQ(ShownStroke.load(), 0);
    OnCommand(kIdNext);
    OnCommand(kIdPrevious);
    EXPECT_EQ(ShownStroke.load(), 0);
    EXPECT_EQ(Paint(*bitmap), "");
    EXPECT_EQ(bitmap->GetPixel(127, 127), gfx::kWhite);
}

TEST_F(DialogTest, PlayRunsOneAnimationToItsEnd) {
    OnInitDialog(host_, three_bars_);
    OnCommand(kIdNext);
    OnCommand(kIdPlay);
    EXPECT_EQ(ShownStroke.load(), -1);
    EXPECT_EQ(Playing.load(), 1);
    ASSERT_TRUE(WaitForAnimationEnd());
    EXPECT_EQ(Playing.load(), 0);
    EXPECT_EQ(FrameBitmap.Current(), nullptr);
    EXPECT_EQ(host_.Fronts(), 1);
    EXPECT_EQ(host_.Clicks(), 3);  // at the start and after each Wait
    // The end returns the canvas to the whole character.
    const FakeHost::Repaint last = host_.Repaints().back();
    EXPECT_EQ(last.area, RepaintArea::Canvas);
    EXPECT_TRUE(last.erase);
    EXPECT_FALSE(last.frame_shown);
}

TEST_F(DialogTest, PlayDuringAnAnimationEndsItBeforeStartingAnew) {
    OnInitDialog(host_, dialog_test::WriteCharacter(dir_, "waits", "W;W;W;W;", {}));
    for (int i = 0; i < 5; ++i) {
        OnCommand(kIdPlay);
        std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
    ASSERT_TRUE(WaitForAnimationEnd());
    EXPECT_FALSE(host_.Overlapped());
    EXPECT_EQ(host_.Fronts(), 5);
}

// The animation is held in the pause after its first Draw while Stop is
// pressed; the Draws after it still run but never reach the canvas. Stop
// ends the hold, so the animation's own end may come before Stop's repaint
// of the window is looked at, or after it.
TEST_F(DialogTest, StopShowsTheStillPictureAtOnceAndForGood) {
    OnInitDialog(host_, dialog_test::WriteCharacter(dir_, "draws", "D;D;D;", dialog_test::kThreeBars));
    host_.HoldAnimationAtPause(50);
    OnCommand(kIdPlay);
    ASSERT_TRUE(host_.WaitUntilHeld());
    ASSERT_NE(FrameBitmap.Current(), nullptr);
    const size_t before_stop = host_.Repaints().size();
    OnCommand(kIdStop);
    EXPECT_EQ(FrameBitmap.Current(), nullptr);
    host_.Release();
    ASSERT_TRUE(WaitForAnimationEnd());
    const std::vector<FakeHost::Repaint> repaints = host_.Repaints();
    // Stop's repaint of the window and the end's of the canvas, at least.
    ASSERT_GE(repaints.size(), before_stop + 2);
    EXPECT_TRUE(std::any_of(repaints.begin() + static_cast<ptrdiff_t>(before_stop), repaints.end(),
                            [](const FakeHost::Repaint& r) {
                                return r.area == RepaintArea::Client && !r.from_animation;
                            }));
    for (size_t i = before_stop; i < repaints.size(); ++i) {
        EXPECT_FALSE(repaints[i].frame_shown) << i;
    }
}

// Held in the pause of the first of many Draws, the animation is stopped by
// each of these: it ends in that pause, and the ones that wait for its thread
// wait for nothing more.
TEST_F(DialogTest, EveryStopEndsTheAnimationInThePauseItComesIn) {
    std::string draws;
    for (int i = 0; i < 200; ++i) draws += "D;";
    const fs::path script = dialog_test::WriteCharacter(dir_, "draws", draws, dialog_test::kThreeBars);
    const struct {
        const char* name;
        std::function<void()> press;
    } cases[] = {
        {"Stop", [] { OnCommand(kIdStop); }},
        {">", [] { OnCommand(kIdNext); }},
        {"<", [] { OnCommand(kIdPrevious); }},
        {"a drop", [&] { OnDropFiles({script}); }},
        {"closing", [] { OnDestroy(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeHost host;
        OnInitDialog(host, script);
        host.HoldAnimationAtPause(50);
        OnCommand(kIdPlay);
        ASSERT_TRUE(host.WaitUntilHeld());
        c.press();
        ASSERT_TRUE(dialog_test::WaitFor([] { return Playing.load() == 0; }));
        OnDestroy();
        EXPECT_EQ(host.AnimationPauses(), 2);  // the first pause, and the held one
    }
}

// A Wait outlasts the step pause: the step waits for the animation's end, so
// the end cannot take the window back out of step mode.
TEST_F(DialogTest, StepDuringAnAnimationStaysInStepMode) {
    OnInitDialog(host_, three_bars_);
    host_.HoldAnimationAtPause(500);
    OnCommand(kIdPlay);
    ASSERT_TRUE(host_.WaitUntilHeld());
    std::thread release([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        host_.Release();
    });
    OnCommand(kIdNext);
    release.join();
    EXPECT_EQ(ShownStroke.load(), 0);
    OnDestroy();
    EXPECT_EQ(ShownStroke.load(), 0);
    EXPECT_EQ(FrameBitmap.Current(), nullptr);
}

TEST_F(DialogTest, LoadingAndClosingWaitForTheAnimation) {
    const fs::path waits = dialog_test::WriteCharacter(dir_, "waits", "W;W;W;W;", {});
    for (const bool closing : {false, true}) {
        SCOPED_TRACE(closing ? "closing" : "loading");
        FakeHost host;
        OnInitDialog(host, waits);
        OnCommand(kIdPlay);
        ASSERT_TRUE(dialog_test::WaitFor([&] { return host.AnimationCalls() > 0; }));
        if (closing) {
            OnDestroy();
        } else {
            OnDropFiles({three_bars_});
            EXPECT_EQ(Commands.size(), 5u);
        }
        EXPECT_EQ(Playing.load(), 0);
        const int calls = host.AnimationCalls();
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        EXPECT_EQ(host.AnimationCalls(), calls);
        OnDestroy();
    }
}

TEST_F(DialogTest, SaveBmpWritesTheCanvasAsShown) {
    OnInitDialog(host_, three_bars_);
    OnCommand(kIdNext);
    const size_t repaints = host_.Repaints().size();
    host_.SetCounter("stale");

    host_.SetSavePath(std::nullopt);
    OnCommand(kIdSaveBmp);
    EXPECT_EQ(host_.Counter(), "stale");

    const fs::path saved = dir_ / "step.bmp";
    host_.SetSavePath(saved);
    OnCommand(kIdSaveBmp);
    EXPECT_EQ(host_.SaveAsked(), 2);
    EXPECT_EQ(host_.Counter(), "0");
    EXPECT_EQ(host_.Repaints().size(), repaints);
    ASSERT_EQ(fs::file_size(saved), 8190u);

    auto expected = gfx::Bitmap::Create(kCanvasSide, kCanvasSide, gfx::PixelFormat::Mono1);
    ComposeFrame(*expected, kCanvas, SharedCanvasState());
    std::ifstream file(saved, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(bytes, EncodeBitmapFile(*expected).value());

    // A save that fails says nothing and changes nothing.
    host_.SetSavePath(dir_ / "no such folder" / "x.bmp");
    OnCommand(kIdSaveBmp);
    EXPECT_FALSE(fs::exists(dir_ / "no such folder"));
}

}  // namespace
}  // namespace player
