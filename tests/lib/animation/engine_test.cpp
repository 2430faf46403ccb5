#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>
#include <thread>

#include "animation/compose.h"
#include "animation/engine.h"
#include "animation/frame_slot.h"
#include "animation/recording_effects.h"
#include "support/character_files.h"
#include "zep/canvas.h"
#include "zep/script.h"

namespace player {
namespace {

namespace fs = std::filesystem;
using player_test::PixelsOf;

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

// A far stroke that no band meets: row 100, x from 453 to 503.
const std::string kFarStroke("h\xFD\x64\xFE\x01\xC8\x32\xFF", 8);

class EngineTest : public ::testing::Test {
protected:
    void AddStroke(const gfx::Region& shape) { AddStrokeFile(player_test::RegionFileBytes(shape)); }
    void AddStrokeFile(const std::string& bytes) {
        files_.push_back(dir_.Write("s-" + std::to_string(files_.size()) + ".rgn", bytes));
    }
    RecordingEffects Play(const std::string& script, std::optional<int64_t> stop_at = {}, bool keep_frames = true) {
        commands_ = ParseScript(script);
        playing_ = 1;
        RecordingEffects recorder(playing_);
        if (stop_at) recorder.StopAt(*stop_at);
        recorder.KeepFrames(keep_frames);
        EXPECT_EQ(RunAnimation(commands_, files_, playing_, recorder), 0);
        EXPECT_EQ(recorder.effects().back().kind, EffectKind::End);
        return recorder;
    }

    player_test::ScratchDir dir_;
    std::vector<StrokeCommand> commands_;
    std::vector<fs::path> files_;
    PlayingFlag playing_;
};

// Once stopped, the run draws, pauses and sounds nothing more: it ends where
// the stop came, within the pause it came in.
void ExpectEndsAtTheStop(const RecordingEffects& r, int64_t stop) {
    ASSERT_TRUE(r.stopped_at().has_value()) << "stop at " << stop;
    EXPECT_EQ(r.effects().size(), *r.stopped_at() + 1) << "stop at " << stop;
    EXPECT_EQ(r.effects().back().kind, EffectKind::End) << "stop at " << stop;
    EXPECT_EQ(r.effects().back().time, stop);
}

TEST_F(EngineTest, EmptyScriptShowsWhiteForAboutOnePointTwoSeconds) {
    const RecordingEffects r = Play("");
    std::vector<std::pair<int64_t, EffectKind>> timeline;
    for (const Effect& e : r.effects()) timeline.emplace_back(e.time, e.kind);
    EXPECT_EQ(timeline, (std::vector<std::pair<int64_t, EffectKind>>{
                            {0, EffectKind::Frame}, {0, EffectKind::Repaint}, {0, EffectKind::Front},
                            {0, EffectKind::Sleep}, {200, EffectKind::Click}, {200, EffectKind::Sleep},
                            {700, EffectKind::Frame}, {700, EffectKind::Repaint}, {700, EffectKind::Sleep},
                            {1200, EffectKind::End}}));
    for (const auto* frame : r.Of(EffectKind::Frame)) {
        EXPECT_EQ(PixelsOf(*frame->frame, gfx::kWhite), gfx::Region::FromRect(kCanvas));
    }
}

TEST_F(EngineTest, WaitsClickAfterEachPause) {
    const RecordingEffects r = Play("W;W");
    EXPECT_EQ(r.TimesOf(EffectKind::Click), (std::vector<int64_t>{200, 700, 1200}));
    EXPECT_EQ(r.now(), 2200);
}

TEST_F(EngineTest, StoppedBeforeTheFirstCommandShowsOneFrame) {
    commands_ = ParseScript("D;W");
    playing_ = 0;
    RecordingEffects r(playing_);
    RunAnimation(commands_, files_, playing_, r);
    EXPECT_EQ(r.Of(EffectKind::Frame).size(), 1u);
    EXPECT_TRUE(r.Of(EffectKind::Sleep).empty());
    EXPECT_EQ(r.effects().back().kind, EffectKind::End);
}

TEST_F(EngineTest, AStopInAnyPauseEndsTheRunThere) {
    AddStroke(gfx::Region::FromRect({10, 10, 50, 50}));
    AddStroke(gfx::Region::FromRect({100, 50, 340, 200}));  // its sweep ends on the last band's pause
    AddStrokeFile(kFarStroke);
    AddStroke(gfx::Region::FromRect({200, 200, 210, 210}));
    AddStroke(Ring(50, 100));
    const std::string script = "W;D;L,0;L,0;D;P,0,90,127,127;L,0;W;P,0,20,127,127;D";
    const RecordingEffects whole = Play(script, {}, false);
    std::vector<int64_t> stops;
    for (const Effect* pause : whole.Of(EffectKind::Sleep)) stops.push_back(pause->time + pause->value / 2);
    ASSERT_GT(stops.size(), 25u);
    for (const int64_t stop : stops) ExpectEndsAtTheStop(Play(script, stop, false), stop);
}

TEST_F(EngineTest, AStopEndsALongScriptOfDrawsAndWaitsAtOnce) {
    AddStroke(gfx::Region::FromRect({10, 10, 50, 50}));
    std::string script;
    for (int i = 0; i < 200; ++i) script += "D;";
    for (int i = 0; i < 50; ++i) script += "W;";
    const int64_t commands_end = 200 + 200 * 50 + 50 * 500;
    EXPECT_EQ(Play(script, {}, false).now(), commands_end + 1000);
    const struct {
        const char* name;
        int64_t stop;
        size_t frames;
    } cases[] = {
        {"first pause", 100, 1},
        {"hundredth Draw", 200 + 99 * 50 + 25, 101},
        {"eleventh Wait", 200 + 200 * 50 + 10 * 500 + 250, 201},
        {"first pause of the end", commands_end + 250, 201},
        {"last pause", commands_end + 750, 202},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RecordingEffects r = Play(script, c.stop, false);
        ExpectEndsAtTheStop(r, c.stop);
        EXPECT_EQ(r.Of(EffectKind::Frame).size(), c.frames);
    }
}

TEST_F(EngineTest, RepaintsEraseAsEachFrameKindSays) {
    AddStroke(gfx::Region::FromRect({10, 10, 50, 50}));
    AddStroke(gfx::Region::FromRect({100, 50, 150, 200}));
    AddStroke(Ring(50, 100));
    const RecordingEffects r = Play("D;L,0;P,0,90,127,127");
    // The first frame, a Draw, five bands, ten slices, the end.
    std::vector<int32_t> expected = {0, 1, 0, 0, 0, 0, 0};
    expected.insert(expected.end(), 10, 1);
    expected.push_back(0);
    std::vector<int32_t> erase;
    for (const auto* e : r.Of(EffectKind::Repaint)) erase.push_back(e->value);
    EXPECT_EQ(erase, expected);
}

TEST_F(EngineTest, LinearSweepSkipsBandsBeforeTheStrokeAndEndsAtTheFirstMiss) {
    AddStroke(gfx::Region::FromRect({100, 50, 150, 200}));
    const RecordingEffects r = Play("L,0");
    // Bands cover x in [127 + t, 147 + t): [88, 108) is the first to meet the
    // stroke and [168, 188) the first after it to miss, shown until the end.
    const std::vector<TimedFrame> frames = r.Frames();
    std::vector<std::pair<int64_t, int64_t>> timeline;
    for (const TimedFrame& f : frames) timeline.emplace_back(f.shown_at, f.duration);
    EXPECT_EQ(timeline, (std::vector<std::pair<int64_t, int64_t>>{
                            {0, 200}, {200, 35}, {235, 35}, {270, 35}, {305, 35}, {340, 500}, {840, 500}}));
    const int32_t rights[] = {108, 128, 148, 150, 150};
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(PixelsOf(*frames[1 + i].frame, gfx::kRed).Bounds(), (gfx::Rect{100, 50, rights[i], 200}));
    }
    EXPECT_TRUE(PixelsOf(*frames[6].frame, gfx::kRed).IsEmpty());
}

TEST_F(EngineTest, LinearSweepThatNoBandMeetsTakesNoTime) {
    AddStrokeFile(kFarStroke);
    const RecordingEffects r = Play("L,0");
    EXPECT_EQ(r.Of(EffectKind::Frame).size(), 2u);
    EXPECT_EQ(r.now(), 1200);
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
        const RecordingEffects r = Play(c.script);
        const auto frames = r.Of(EffectKind::Frame);
        EXPECT_EQ(frames.size(), c.frames + 2) << c.script;
        EXPECT_EQ(r.now(), 1200 + c.sweep_time) << c.script;
        for (const auto* f : frames) EXPECT_TRUE(PixelsOf(*f->frame, gfx::kRed).IsEmpty()) << c.script;
    }
}

TEST_F(EngineTest, AStrokeBeyondTheRegionFilesIsMissing) {
    AddStroke(gfx::Region::FromRect({10, 10, 20, 20}));
    const RecordingEffects r = Play("D;L,0");
    EXPECT_EQ(r.Of(EffectKind::Frame).size(), 1u + 1u + 18u + 1u);
    EXPECT_EQ(PixelsOf(*r.Of(EffectKind::Frame).back()->frame, gfx::kBlack),
              gfx::Region::FromRect({10, 10, 20, 20}));
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
        files_.clear();
        AddStroke(c.sector ? Ring(50, 100, 42, 48) : Ring(50, 100));
        const RecordingEffects r = Play(c.script);
        const auto frames = r.Of(EffectKind::Frame);
        ASSERT_EQ(frames.size(), c.frames + 2) << c.script;
        EXPECT_EQ(r.now(), 1200 + c.sweep_time) << c.script;
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
        const RecordingEffects r = Play(script, {}, false);
        EXPECT_EQ(r.Of(EffectKind::Frame).size(), slices + 2) << script;
        EXPECT_EQ(r.now(), 1200 + static_cast<int64_t>(slices) * 35) << script;
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
        const RecordingEffects r = Play(script, {}, false);
        EXPECT_LE(r.now(), 1200 + 3 * 241 * 35) << script;
    }
}

// Keeps a copy of every frame as it was when published.
class CopyingEffects : public RecordingEffects {
public:
    using RecordingEffects::RecordingEffects;
    void PublishFrame(std::shared_ptr<const gfx::Bitmap> frame) override {
        if (frame) copies.push_back(*frame);
        RecordingEffects::PublishFrame(std::move(frame));
    }
    std::vector<gfx::Bitmap> copies;
};

TEST_F(EngineTest, PublishedFramesAreNeverWrittenAgain) {
    AddStroke(Ring(50, 100));
    AddStroke(gfx::Region::FromRect({100, 50, 150, 200}));
    AddStroke(gfx::Region::FromRect({20, 20, 40, 40}));
    commands_ = ParseScript("P,0,360,127,127;W;L,45;D");
    playing_ = 1;
    CopyingEffects r(playing_);
    RunAnimation(commands_, files_, playing_, r);
    const auto frames = r.Of(EffectKind::Frame);
    ASSERT_GT(frames.size(), 20u);
    ASSERT_EQ(frames.size(), r.copies.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(PixelsOf(*frames[i]->frame, gfx::kRed), PixelsOf(r.copies[i], gfx::kRed)) << i;
    }
    EXPECT_EQ(PixelsOf(*frames.back()->frame, gfx::kRed), gfx::Region());
}

// Frames go to a slot while another thread composes the canvas from it.
struct PublishingEffects : AnimationEffects {
    explicit PublishingEffects(FrameSlot& target) : slot(target) {}
    void Sleep(int32_t) override { std::this_thread::yield(); }
    void PlayClick() override {}
    void PublishFrame(std::shared_ptr<const gfx::Bitmap> frame) override { slot.Publish(std::move(frame)); }
    void RequestRepaint(bool) override {}
    void BringToFront() override {}
    FrameSlot& slot;
};

TEST_F(EngineTest, RepaintsDuringPlaybackOnAnotherThread) {
    AddStroke(Ring(50, 100));
    AddStroke(gfx::Region::FromRect({100, 50, 150, 200}));
    commands_ = ParseScript("P,0,360,127,127;L,0;D;W");
    playing_ = 1;
    FrameSlot slot;
    std::atomic<bool> done{false};
    std::thread animation([&] {
        PublishingEffects effects(slot);
        RunAnimation(commands_, files_, playing_, effects);
        done = true;
    });
    auto target = *gfx::Bitmap::Create(254, 254, gfx::PixelFormat::Rgb32);
    while (!done) {
        ComposeFrame(target, kCanvas, {commands_, files_, -1, slot.Current()});
        for (const gfx::Color c : {*target.GetPixel(127 + 75, 127), *target.GetPixel(120, 60)}) {
            EXPECT_TRUE(c == gfx::kWhite || c == gfx::kBlack || c == gfx::kRed);
        }
    }
    animation.join();
    EXPECT_EQ(slot.Current(), nullptr);
}

}  // namespace
}  // namespace player
