#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <numbers>
#include <thread>

#include "player/compose.h"
#include "player/player_state.h"
#include "player/script.h"
#include "player_test_support.h"

namespace player {
namespace {

using player_test::EventKind;
using player_test::PixelsOf;
using player_test::Recorder;

// Pixels of the canvas between two radii about the centre, within an angle
// range (degrees, clockwise from +x, as the canvas turns).
gfx::Region Ring(double inner, double outer, double from = -360, double to = 360) {
    gfx::Region ring;
    for (int32_t y = 0; y < kCanvasSide; ++y) {
        for (int32_t x = 0; x < kCanvasSide; ++x) {
            const double dx = x + 0.5 - 127;
            const double dy = y + 0.5 - 127;
            const double r = std::hypot(dx, dy);
            const double angle = std::atan2(dy, dx) * 180 / std::numbers::pi;
            if (r >= inner && r <= outer && angle >= from && angle <= to) ring.AddRect({x, y, x + 1, y + 1});
        }
    }
    return ring;
}

// The canvas pixel at radius 75 about the centre, at that angle.
gfx::Point OnRing(double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    return {static_cast<int32_t>(127 + 75 * std::cos(a)), static_cast<int32_t>(127 + 75 * std::sin(a))};
}

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override { player_test::ResetPlayerState(1); }
    void TearDown() override { player_test::ResetPlayerState(0); }

    void AddStroke(const gfx::Region& shape) { AddStrokeFile(player_test::RegionFileBytes(shape)); }
    void AddStrokeFile(const std::string& bytes) {
        RegionFiles.push_back(dir_.Write("s-" + std::to_string(RegionFiles.size()) + ".rgn", bytes));
    }
    Recorder Play(const std::string& script, int64_t stop_at = -1, bool keep_frames = true) {
        Commands = ParseScript(script);
        Recorder recorder;
        recorder.stop_at = stop_at;
        recorder.keep_frames = keep_frames;
        recorder.checksum_frames = keep_frames;
        EXPECT_EQ(RunAnimation(recorder), 0);
        EXPECT_EQ(recorder.events.back().kind, EventKind::End);
        return recorder;
    }

    player_test::ScratchDir dir_;
};

TEST_F(EngineTest, EmptyScriptShowsWhiteForAboutOnePointTwoSeconds) {
    const Recorder r = Play("");
    std::vector<std::pair<int64_t, EventKind>> timeline;
    for (const auto& e : r.events) timeline.emplace_back(e.time, e.kind);
    EXPECT_EQ(timeline, (std::vector<std::pair<int64_t, EventKind>>{
                            {0, EventKind::Frame}, {0, EventKind::Repaint}, {0, EventKind::Front},
                            {0, EventKind::Sleep}, {200, EventKind::Click}, {200, EventKind::Sleep},
                            {700, EventKind::Frame}, {700, EventKind::Repaint}, {700, EventKind::Sleep},
                            {1200, EventKind::End}}));
    for (const auto* frame : r.Of(EventKind::Frame)) {
        EXPECT_EQ(PixelsOf(*frame->frame, gfx::kWhite), gfx::Region::FromRect(kCanvas));
    }
}

TEST_F(EngineTest, WaitsClickAfterEachPause) {
    const Recorder r = Play("W;W");
    EXPECT_EQ(r.TimesOf(EventKind::Click), (std::vector<int64_t>{200, 700, 1200}));
    EXPECT_EQ(r.now, 2200);
}

TEST_F(EngineTest, StopDuringAWaitEndsAfterThePauseWithoutItsClick) {
    const Recorder r = Play("W;W", 450);
    EXPECT_EQ(r.TimesOf(EventKind::Click), (std::vector<int64_t>{200}));
    EXPECT_EQ(r.events.back().time, 700);
    EXPECT_EQ(r.Of(EventKind::Frame).size(), 1u);
}

TEST_F(EngineTest, StoppedBeforeTheFirstCommandShowsOneFrame) {
    Playing = 0;
    const Recorder r = Play("D;W");
    EXPECT_EQ(r.Of(EventKind::Frame).size(), 1u);
    EXPECT_TRUE(r.Of(EventKind::Sleep).empty());
}

TEST_F(EngineTest, DrawsAfterAStopPlayUntilACheck) {
    const gfx::Region a = gfx::Region::FromRect({10, 10, 50, 50});
    const gfx::Region b = gfx::Region::FromRect({100, 100, 150, 120});
    AddStroke(a);
    AddStroke(b);
    AddStroke(gfx::Region::FromRect({200, 200, 210, 210}));
    const Recorder r = Play("D;D;W;D", 210);
    const auto frames = r.Of(EventKind::Frame);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(r.TimesOf(EventKind::Frame), (std::vector<int64_t>{0, 200, 250}));
    EXPECT_EQ(PixelsOf(*frames[0]->frame, gfx::kBlack),
              a.United(b).United(gfx::Region::FromRect({200, 200, 210, 210})));
    EXPECT_EQ(PixelsOf(*frames[2]->frame, gfx::kRed), a.United(b));
    EXPECT_EQ(r.events.back().time, 800);
    EXPECT_EQ(r.TimesOf(EventKind::Click), (std::vector<int64_t>{200}));
    std::vector<int32_t> erase;
    for (const auto* e : r.Of(EventKind::Repaint)) erase.push_back(e->value);
    EXPECT_EQ(erase, (std::vector<int32_t>{0, 1, 1}));
}

TEST_F(EngineTest, LinearSweepSkipsBandsBeforeTheStrokeAndEndsAtTheFirstMiss) {
    AddStroke(gfx::Region::FromRect({100, 50, 150, 200}));
    const Recorder r = Play("L,0");
    // Bands cover x in [127 + t, 147 + t): [88, 108) is the first to meet the
    // stroke and [168, 188) the first after it to miss.
    const auto frames = r.Of(EventKind::Frame);
    ASSERT_EQ(frames.size(), 7u);
    EXPECT_EQ(r.TimesOf(EventKind::Frame), (std::vector<int64_t>{0, 200, 235, 270, 305, 340, 840}));
    const int32_t rights[] = {108, 128, 148, 150, 150};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(PixelsOf(*frames[static_cast<size_t>(1 + i)]->frame, gfx::kRed).Bounds(), (gfx::Rect{100, 50, rights[i], 200}));
    }
    EXPECT_TRUE(PixelsOf(*frames[6]->frame, gfx::kRed).IsEmpty());
    EXPECT_EQ(r.now, 200 + 4 * 35 + 1000);
}

TEST_F(EngineTest, LinearSweepThatNoBandMeetsTakesNoTime) {
    // A box overhanging the canvas: row 100, x from 453 to 503.
    AddStrokeFile(std::string("h\xFD\x64\xFE\x01\xC8\x32\xFF", 8));
    const Recorder r = Play("L,0");
    EXPECT_EQ(r.Of(EventKind::Frame).size(), 2u);
    EXPECT_EQ(r.now, 1200);
}

struct MissingCase {
    const char* script;
    size_t frames;
    int64_t sweep_time;
};

TEST_F(EngineTest, StrokesWithoutARegionTakeTheirTimeAndPaintNothing) {
    // No region files at all: the strokes run past the end of the list.
    for (const MissingCase& c : {MissingCase{"L,0", 18, 18 * 35}, MissingCase{"P,0,90,127,127", 4, 4 * 35},
                                 MissingCase{"D", 1, 50},
                                 MissingCase{"P,-2147483648,2147483647,127,127", 29, 29 * 35}}) {
        player::Playing = 1;
        const Recorder r = Play(c.script);
        const auto frames = r.Of(EventKind::Frame);
        EXPECT_EQ(frames.size(), c.frames + 2) << c.script;
        EXPECT_EQ(r.now, 1200 + c.sweep_time) << c.script;
        for (const auto* f : frames) EXPECT_TRUE(PixelsOf(*f->frame, gfx::kRed).IsEmpty()) << c.script;
    }
}

TEST_F(EngineTest, AStrokeBeyondTheRegionFilesIsMissing) {
    AddStroke(gfx::Region::FromRect({10, 10, 20, 20}));
    const Recorder r = Play("D;L,0");
    EXPECT_EQ(r.Of(EventKind::Frame).size(), 1u + 1u + 18u + 1u);
    EXPECT_EQ(PixelsOf(*r.Of(EventKind::Frame).back()->frame, gfx::kBlack), gfx::Region::FromRect({10, 10, 20, 20}));
}

struct SliceCase {
    const char* script;
    bool sector;  // a narrow sector at 42 to 48 degrees, else a full ring
    size_t frames;
    int64_t sweep_time;
    std::vector<double> red;
    std::vector<double> not_red;
};

TEST_F(EngineTest, PivotSweepSlices) {
    // Both shapes lie 50 to 100 pixels from the centre: circles of radius 0,
    // 20 and 40 miss them, so slices are 10 degrees.
    const SliceCase cases[] = {
        {"P,0,90,127,127", false, 10, 10 * 35, {5, 45, 95}, {-5, 105}},
        {"P,90,0,127,127", false, 10, 10 * 35, {-5, 45, 85}, {-15, 95}},
        {"P,45,45,127,127", false, 1, 35, {50}, {40, 60}},
        // Four misses before the hit cost their time; the miss after it ends the sweep.
        {"P,0,180,127,127", true, 6, 5 * 35, {45}, {}},
    };
    for (const SliceCase& c : cases) {
        player::Playing = 1;
        RegionFiles.clear();
        AddStroke(c.sector ? Ring(50, 100, 42, 48) : Ring(50, 100));
        const Recorder r = Play(c.script);
        const auto frames = r.Of(EventKind::Frame);
        ASSERT_EQ(frames.size(), c.frames + 2) << c.script;
        EXPECT_EQ(r.now, 1200 + c.sweep_time) << c.script;
        const gfx::Region red = PixelsOf(*frames[frames.size() - 2]->frame, gfx::kRed);
        for (double a : c.red) EXPECT_TRUE(red.Contains(OnRing(a).x, OnRing(a).y)) << c.script << " at " << a;
        for (double a : c.not_red) EXPECT_FALSE(red.Contains(OnRing(a).x, OnRing(a).y)) << c.script << " at " << a;
    }
}

TEST_F(EngineTest, SweepsAcrossTheWholeAngleRangeEndAfterTwoTurns) {
    AddStroke(gfx::Region::FromRect({100, 100, 110, 110}));
    // The pivots lie far away: every circle misses (3 degree slices) and no
    // slice ever meets the stroke.
    const std::pair<const char*, size_t> cases[] = {
        {"P,-2147483648,2147483647,2147483647,2147483647", 241},
        {"P,2147483647,-2147483648,-2147483648,-2147483648", 241},
        {"P,2147483647,2147483647,-2147483648,2147483647", 1},
        {"P,-2147483648,-2147483648,2147483647,-2147483648", 1},
    };
    for (const auto& [script, slices] : cases) {
        player::Playing = 1;
        const Recorder r = Play(script, -1, false);
        EXPECT_EQ(r.Of(EventKind::Frame).size(), slices + 2) << script;
        EXPECT_EQ(r.now, 1200 + static_cast<int64_t>(slices) * 35) << script;
    }
}

TEST_F(EngineTest, HostileScriptsAndRegionsEndInBoundedTime) {
    AddStrokeFile(std::string("h\xFD\xFD\xFE\xFE\x00\xFE\xFF\xFD\x05", 10));  // overhangs the canvas
    AddStrokeFile(std::string("v\x00\x00\xFE\xFE", 5));                      // no runs: no region
    AddStroke(Ring(0, 200));
    const char* scripts[] = {
        "L,2147483647;L,-2147483648;P,-2147483648,2147483647,-2147483648,-2147483648",
        "P,2147483647,-2147483648,2147483647,2147483647;P,0,1,2147483647,-2147483648;D",
        "P,-2147483648,2147483647,127,127;P,0,2147483647,0,0;L,-2147483648",
        "P,2147483647,2147483647,2147483647,2147483647;W;P,5,5,-300,800;L,90",
    };
    for (const char* script : scripts) {
        player::Playing = 1;
        const Recorder r = Play(script, -1, false);
        EXPECT_LE(r.now, 1200 + 3 * 241 * 35) << script;
    }
}

TEST_F(EngineTest, PublishedFramesAreNeverWrittenAgain) {
    AddStroke(Ring(50, 100));
    AddStroke(gfx::Region::FromRect({100, 50, 150, 200}));
    AddStroke(gfx::Region::FromRect({20, 20, 40, 40}));
    const Recorder r = Play("P,0,360,127,127;W;L,45;D");
    EXPECT_GT(r.Of(EventKind::Frame).size(), 20u);
    for (const auto* f : r.Of(EventKind::Frame)) EXPECT_EQ(player_test::Checksum(*f->frame), f->checksum);
    EXPECT_EQ(PixelsOf(*r.Of(EventKind::Frame).back()->frame, gfx::kRed), gfx::Region());
}

// Frames go to the shared slot while the dialog's thread repaints from it.
struct PublishingEffects : AnimationEffects {
    void Sleep(int32_t) override { std::this_thread::yield(); }
    void PlayClick() override {}
    void PublishFrame(std::shared_ptr<const gfx::Bitmap> frame) override { FrameBitmap.Publish(std::move(frame)); }
    void RequestRepaint(bool) override {}
    void BringToFront() override {}
};

TEST_F(EngineTest, RepaintsDuringPlaybackOnAnotherThread) {
    AddStroke(Ring(50, 100));
    AddStroke(gfx::Region::FromRect({100, 50, 150, 200}));
    Commands = ParseScript("P,0,360,127,127;L,0;D;W");
    std::atomic<bool> done{false};
    std::thread animation([&done] {
        PublishingEffects effects;
        RunAnimation(effects);
        done = true;
    });
    auto target = *gfx::Bitmap::Create(254, 254, gfx::PixelFormat::Rgb32);
    while (!done) {
        ComposeFrame(target, kCanvas);
        for (const gfx::Color c : {*target.GetPixel(127 + 75, 127), *target.GetPixel(120, 60)}) {
            EXPECT_TRUE(c == gfx::kWhite || c == gfx::kBlack || c == gfx::kRed);
        }
    }
    animation.join();
    EXPECT_EQ(FrameBitmap.Current(), nullptr);
}

}  // namespace
}  // namespace player
