// Practice in the dialog, without a window: entering and leaving it, strokes
// judged on pointer-up, the picture while practising, the moment after each
// stroke (the timer is called by the test, in no time), hints and the end.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "dialog_test_host.h"
#include "test_character.h"
#include "zep/canvas.h"
#include "zepplayer/dialog.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/player_state.h"

namespace player {
namespace {

namespace fs = std::filesystem;
using dialog_test::FakeHost;

constexpr gfx::Color kInk{0, 64, 160};
constexpr gfx::Color kGuide{215, 215, 215};

// The three bars' centre lines, in their sweeps' directions: across to the
// right, down, across to the right.
const std::vector<std::vector<gfx::PointF>> kBarLines{
    {{44, 69}, {210, 69}}, {{127, 24}, {127, 230}}, {{34, 179}, {220, 179}}};

// A pen moving from a to b in steps of about 4 pixels.
std::vector<gfx::PointF> Trail(const std::vector<gfx::PointF>& line, double scale = 1,
                               gfx::PointF shift = {}) {
    std::vector<gfx::PointF> points;
    const gfx::PointF a{line[0].x * scale + shift.x, line[0].y * scale + shift.y};
    const gfx::PointF b{line[1].x * scale + shift.x, line[1].y * scale + shift.y};
    for (int k = 0; k <= 50; ++k) {
        const double t = k / 50.0;
        points.push_back({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t});
    }
    return points;
}

std::vector<gfx::PointF> Reversed(std::vector<gfx::PointF> points) {
    return {points.rbegin(), points.rend()};
}

void Write(const std::vector<gfx::PointF>& points) {
    OnPointerDown(points.front());
    for (size_t k = 1; k + 1 < points.size(); ++k) OnPointerMove(points[k]);
    OnPointerUp(points.back());
}

class PracticeTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog_test::ResetPlayer();
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir_ = fs::temp_directory_path() / ("zep_practice_" + test);
        fs::remove_all(dir_);
        bars_ = dialog_test::WriteCharacter(dir_, "bars", "L,0;W;L,90;L,0;",
                                            dialog_test::kThreeBars);
        canvas_ = gfx::Bitmap::Create(kCanvasSide, kCanvasSide, gfx::PixelFormat::Rgb32);
    }
    void TearDown() override {
        OnDestroy();
        dialog_test::ResetPlayer();
        fs::remove_all(dir_);
    }

    // The canvas as the window would show it now; returns the counter.
    std::string Paint() {
        OnPaint(*canvas_, kCanvas);
        return host_.Counter();
    }
    gfx::Color At(double x, double y) {
        return canvas_->GetPixel(static_cast<int32_t>(x), static_cast<int32_t>(y)).value();
    }

    FakeHost host_;
    fs::path dir_;
    fs::path bars_;
    std::optional<gfx::Bitmap> canvas_;
};

TEST_F(PracticeTest, StartsOnALoadedCharacterInTheModeAskedOrTheLastOne) {
    OnInitDialog(host_, std::nullopt);
    OnPractice(PracticeAction::Start);
    EXPECT_FALSE(CurrentPractice().active) << "nothing loaded";
    OnDropFiles({bars_});
    const struct {
        PracticeAction action;
        bool recall;
    } steps[] = {{PracticeAction::Start, false},
                 {PracticeAction::Recall, true},
                 {PracticeAction::Leave, true},
                 {PracticeAction::Start, true},
                 {PracticeAction::Trace, false}};
    for (const auto& step : steps) {
        OnPractice(step.action);
        EXPECT_EQ(CurrentPractice().active, step.action != PracticeAction::Leave);
        EXPECT_EQ(CurrentPractice().recall, step.recall);
    }
    // Tracing shows the character in light grey, and the stroke to write.
    EXPECT_EQ(Paint(), "0");
    EXPECT_EQ(At(127, 69), kGuide);
    EXPECT_EQ(At(10, 10), gfx::kWhite);
    OnPractice(PracticeAction::Recall);
    Paint();
    EXPECT_EQ(At(127, 69), gfx::kWhite) << "recall shows nothing of the character";
}

TEST_F(PracticeTest, EveryWayOutLeavesPracticeAndDoesWhatItDoesOtherwise) {
    const fs::path other = dialog_test::WriteCharacter(dir_, "other", "D;", {{0, 0, 9, 9}});
    const struct {
        const char* name;
        std::function<void()> press;
        std::function<bool()> done;
    } ways[] = {
        {"Esc", [] { OnEscape(); }, [this] { return host_.Ended().empty(); }},
        {"Play", [] { OnCommand(kIdPlay); }, [this] { return host_.Fronts() > 0; }},
        {"Stop", [] { OnCommand(kIdStop); }, [] { return ShownStroke.load() == -1; }},
        {">", [] { OnCommand(kIdNext); }, [] { return ShownStroke.load() == 0; }},
        {"<", [] { OnCommand(kIdPrevious); }, [] { return ShownStroke.load() == 0; }},
        {"a load", [&] { OnDropFiles({other}); }, [] { return Commands.size() == 1; }},
        {"the menu", [] { OnPractice(PracticeAction::Leave); }, [] { return true; }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        OnDestroy();
        dialog_test::ResetPlayer();
        OnInitDialog(host_, bars_);
        OnPractice(PracticeAction::Trace);
        ASSERT_TRUE(CurrentPractice().active);
        way.press();
        EXPECT_FALSE(CurrentPractice().active);
        EXPECT_TRUE(dialog_test::WaitFor(way.done));
        EXPECT_EQ(Paint(), ShownStroke.load() == 0 ? "0" : "");
    }
    OnEscape();
    EXPECT_EQ(host_.Ended(), std::vector<int32_t>{kIdCancel}) << "Esc outside practice closes";
}

bool RedInColumn(const gfx::Bitmap& canvas, int32_t x, int32_t top, int32_t bottom) {
    for (int32_t y = top; y < bottom; ++y) {
        if (canvas.GetPixel(x, y) == gfx::kRed) return true;
    }
    return false;
}

TEST_F(PracticeTest, TracingFromTheFirstStrokeToTheEnd) {
    OnInitDialog(host_, bars_);
    OnPractice(PracticeAction::Trace);

    // The ink shows while it is written; the stroke, once accepted, shows in
    // its own shape, red for a moment, with the click.
    const std::vector<gfx::PointF> first = Trail(kBarLines[0]);
    OnPointerDown(first[0]);
    for (size_t k = 1; k < 25; ++k) OnPointerMove(first[k]);
    Paint();
    EXPECT_EQ(At(first[20].x, first[20].y), kInk);
    for (size_t k = 25; k + 1 < first.size(); ++k) OnPointerMove(first[k]);
    OnPointerUp(first.back());
    EXPECT_EQ(host_.Clicks(), 1);
    EXPECT_EQ(Paint(), "1");
    EXPECT_EQ(At(41, 61), gfx::kRed);
    EXPECT_EQ(host_.Timers(), std::vector<int32_t>{400});
    OnTimer();
    Paint();
    EXPECT_EQ(At(41, 61), gfx::kBlack);

    // Mistakes: the ink red for a moment and the reason, counted until the
    // third brings the stroke's own sweep as a hint.
    const struct {
        const char* name;
        std::vector<gfx::PointF> ink;
        const char* note;
    } mistakes[] = {
        {"out of order", Trail(kBarLines[2]), "that is stroke 2"},
        {"backwards", Reversed(Trail(kBarLines[1])), "backwards"},
        {"elsewhere", Trail({{150, 110}, {230, 140}}), "try again"},
    };
    host_.HoldAnimationAtPause(35);
    for (const auto& mistake : mistakes) {
        SCOPED_TRACE(mistake.name);
        Write(mistake.ink);
        EXPECT_EQ(Paint(), "1");
        EXPECT_EQ(CounterTip("1"), mistake.note);
        const gfx::PointF middle = mistake.ink[mistake.ink.size() / 2 + 3];
        EXPECT_EQ(At(middle.x, middle.y), gfx::kRed);
        EXPECT_EQ(host_.Timers().back(), 600);
        EXPECT_EQ(host_.Clicks(), 1);
    }
    ASSERT_TRUE(host_.WaitUntilHeld());
    Paint();
    EXPECT_TRUE(RedInColumn(*canvas_, 127, 20, 234)) << "the hint sweeps stroke 1";
    EXPECT_FALSE(RedInColumn(*canvas_, 120, 170, 188)) << "and nothing else";
    host_.Release();
    ASSERT_TRUE(dialog_test::WaitFor([] { return Playing.load() == 0; }));
    OnTimer();
    Paint();
    EXPECT_EQ(At(190, 125), gfx::kWhite) << "the mistake's ink is gone";

    Write(Trail(kBarLines[1]));
    Write(Trail(kBarLines[2]));
    EXPECT_EQ(Paint(), "3") << "the counter shows the mistakes";
    EXPECT_EQ(CounterTip("3"), "3 mistakes");
    // After the last stroke's moment the whole character plays once.
    const int fronts = host_.Fronts();
    OnTimer();
    EXPECT_TRUE(dialog_test::WaitFor([&] { return host_.Fronts() > fronts; }));
    ASSERT_TRUE(dialog_test::WaitFor([] { return Playing.load() == 0; }));
    EXPECT_EQ(Paint(), "3");
    EXPECT_TRUE(CurrentPractice().active);
    // The next stroke begins the character anew.
    Write(Trail(kBarLines[0]));
    EXPECT_EQ(Paint(), "1");
}

TEST_F(PracticeTest, RecallDrawsTheAcceptedStrokesWhereTheLearnerWroteThem) {
    OnInitDialog(host_, bars_);
    OnPractice(PracticeAction::Recall);
    const double scale = 0.6;
    const gfx::PointF shift{40, 50};
    for (const auto& line : kBarLines) Write(Trail(line, scale, shift));
    EXPECT_EQ(Paint(), "0") << "no mistakes";
    // Stroke 1's middle, where the learner wrote it and where the character has it.
    EXPECT_EQ(At(127 * scale + shift.x, 127 * scale + shift.y), gfx::kBlack);
    EXPECT_EQ(At(127, 30), gfx::kWhite);
}

// Random strokes, right and wrong, with practice's timers, menu and the
// buttons in between: hints and the final playing start and stop on the
// animation thread, never two at once, and a button always leaves practice.
TEST_F(PracticeTest, RandomSessionsKeepTheRules) {
    std::mt19937 random(11);
    auto pick = [&random](uint32_t n) { return static_cast<uint32_t>(random() % n); };
    OnInitDialog(host_, bars_);
    // Under the sanitizers, judging is slow: the storm is cut short there.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (int event = 0; event < 600 && std::chrono::steady_clock::now() < deadline; ++event) {
        switch (pick(12)) {
            case 0: OnPractice(static_cast<PracticeAction>(pick(4))); break;
            case 1: OnTimer(); break;
            case 2: {
                const bool backwards = pick(3) == 0;
                const auto& line = kBarLines[pick(3)];
                Write(backwards ? Reversed(Trail(line)) : Trail(line));
                break;
            }
            case 3: {
                const double x = pick(254) + 0.5;
                Write(Trail({{x, pick(254) + 0.5}, {10.5, x}}));
                break;
            }
            case 4: OnPointerDown({pick(300) - 20.0, pick(300) - 20.0}); break;
            case 5: OnPointerMove({pick(254) * 1.0, pick(254) * 1.0}); break;
            case 6: OnPointerUp({pick(254) * 1.0, pick(254) * 1.0}); break;
            case 7: Paint(); break;
            case 8: {
                const int32_t button = std::array{kIdPlay, kIdStop, kIdNext, kIdPrevious}[pick(4)];
                OnCommand(button);
                ASSERT_FALSE(CurrentPractice().active) << "event " << event;
                break;
            }
            case 9: std::this_thread::sleep_for(std::chrono::microseconds(pick(2000))); break;
            default: OnPractice(PracticeAction::Start); break;
        }
        ASSERT_FALSE(host_.Overlapped()) << "event " << event;
    }
    OnDestroy();
    EXPECT_FALSE(CurrentPractice().active);
    EXPECT_EQ(FrameBitmap.Current(), nullptr);
}

}  // namespace
}  // namespace player
