// Look-up in the dialog, without a window: its tool window's state, the
// recogniser loaded once on a thread of its own (a fake that the test
// releases), strokes, undo and clear, the ways out, and choosing.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "dialog_test_host.h"
#include "support/character_files.h"
#include "test_character.h"
#include "zep/canvas.h"
#include "zep/character_store.h"
#include "zepplayer/dialog.h"
#include "zepplayer/dialog_layout.h"
#include "zepplayer/lookup_source.h"
#include "zepplayer/player_state.h"
#include "zepplayer/tool_window_place.h"

namespace player {
namespace {

namespace fs = std::filesystem;
using dialog_test::FakeHost;

constexpr gfx::Color kInk{0, 64, 160};

// Twelve names, the first saying how many strokes were searched: the tool
// window must show the best ten.
std::vector<std::string> Names(size_t strokes) {
    std::vector<std::string> names{strokes == 1 ? "一" : strokes == 2 ? "十" : "口"};
    for (int n = 1; n < 12; ++n) names.push_back("x" + std::to_string(n));
    return names;
}

// The recogniser's stand-in. Its load waits for Release and notes its thread.
struct FakeSource {
    std::string locate_error;  // a missing file when set
    std::string load_error;    // a load that fails when set
    std::atomic<int> locates{0};
    std::atomic<int> loads{0};
    std::atomic<bool> loaded_on_dialog_thread{false};
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::vector<std::vector<practice::Ink>> searched;  // the dialog's thread only

    LocateCandidates Locate() {
        const std::thread::id dialog = std::this_thread::get_id();
        return [this, dialog](const std::vector<fs::path>&, std::string& error) -> LoadCandidates {
            ++locates;
            if (!locate_error.empty()) {
                error = locate_error;
                return nullptr;
            }
            return [this, dialog](std::string& load) -> FindCandidates {
                ++loads;
                loaded_on_dialog_thread = std::this_thread::get_id() == dialog;
                released.wait();
                if (!load_error.empty()) {
                    load = load_error;
                    return nullptr;
                }
                return [this](std::span<const practice::Ink> strokes, size_t count) {
                    searched.emplace_back(strokes.begin(), strokes.end());
                    EXPECT_EQ(count, 10u);
                    return Names(strokes.size());
                };
            };
        };
    }
};

class LookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog_test::ResetPlayer();
        bars_ = dialog_test::WriteCharacter(dir_.path(), "bars", "L,0;W;L,90;L,0;",
                                            dialog_test::kThreeBars);
        // The set holds 十 alone.
        const StoredCharacter juu{
            "十",
            "L,0;L,90;",
            {player_test::RegionFileBytes(gfx::Region::FromRect({20, 120, 234, 136})),
             player_test::RegionFileBytes(gfx::Region::FromRect({120, 20, 136, 234}))},
            {},
            {}};
        std::string error;
        ASSERT_TRUE(WriteCharacterStore(dir_.path() / kCharacterStoreName, {juu}, error)) << error;
        SetCandidateSource(source_.Locate(), {dir_.path()});
        canvas_ = gfx::Bitmap::Create(kCanvasSide, kCanvasSide, gfx::PixelFormat::Rgb32);
        OnInitDialog(host_, bars_);
    }
    void TearDown() override {
        // A load still waiting must not keep the window from closing.
        Release();
        OnDestroy();
        dialog_test::ResetPlayer();
    }

    void Release() {
        if (!released_) source_.release.set_value();
        released_ = true;
    }
    // Lets the load end and takes its outcome, as the window would.
    void FinishLoad() {
        Release();
        ASSERT_TRUE(dialog_test::WaitFor([this] { return host_.ReadyPosts() > 0; }));
        OnLookupReady();
    }
    void Draw(gfx::PointF from, gfx::PointF to) {
        OnPointerDown(from);
        for (int k = 1; k < 10; ++k) {
            OnPointerMove({from.x + (to.x - from.x) * k / 10, from.y + (to.y - from.y) * k / 10});
        }
        OnPointerUp(to);
    }
    void DrawCross() {
        Draw({30, 128}, {224, 128});
        Draw({127, 30}, {127, 224});
    }
    gfx::Bitmap& Paint() {
        OnPaint(*canvas_, kCanvas);
        return *canvas_;
    }

    player_test::ScratchDir dir_;
    FakeSource source_;
    bool released_ = false;
    FakeHost host_;
    fs::path bars_;
    std::optional<gfx::Bitmap> canvas_;
};

TEST_F(LookupTest, WithoutItsFilesStartingSaysWhyAndChangesNothingElse) {
    source_.locate_error = "No handwriting model: install the package tegaki-zinnia-japanese";
    OnPractice(PracticeAction::Trace);
    OnLookup(LookupAction::Start);
    EXPECT_TRUE(host_.Panel().shown);
    EXPECT_FALSE(host_.Panel().active);
    EXPECT_EQ(host_.Panel().status, source_.locate_error);
    EXPECT_TRUE(CurrentPractice().active) << "practice goes on";
    EXPECT_EQ(source_.loads, 0);

    // Found but unreadable: look-up, begun while loading, ends saying why.
    source_.locate_error.clear();
    source_.load_error = "cannot read the model";
    OnLookup(LookupAction::Start);
    EXPECT_TRUE(host_.Panel().active);
    FinishLoad();
    EXPECT_FALSE(CurrentLookup().active);
    EXPECT_EQ(host_.Panel().status, "cannot read the model");
    EXPECT_EQ(Paint().GetPixel(127, 69), gfx::kBlack) << "the character is shown again";
    OnLookup(LookupAction::Leave);
    EXPECT_FALSE(host_.Panel().shown) << "the close box puts the reason away";
}

TEST_F(LookupTest, TheModelLoadsOnceOffTheDialogsThreadAndStrokesDrawnMeanwhileAreSearched) {
    OnCommand(kIdNext);
    OnLookup(LookupAction::Start);
    EXPECT_TRUE(host_.Panel().active);
    EXPECT_EQ(host_.Panel().status, "Loading the handwriting model...");
    Draw({30, 128}, {224, 128});
    EXPECT_TRUE(host_.Panel().candidates.empty());
    EXPECT_TRUE(host_.Panel().can_undo);
    // The drawing on an empty canvas: the strokes drawn black, the one being
    // drawn in ink, no counter.
    OnPointerDown({127, 30});
    OnPointerMove({127, 100});
    Paint();
    EXPECT_EQ(canvas_->GetPixel(60, 128), gfx::kBlack);
    EXPECT_EQ(canvas_->GetPixel(127, 60), kInk);
    EXPECT_EQ(canvas_->GetPixel(200, 69), gfx::kWhite) << "the character is not shown";
    EXPECT_EQ(host_.Counter(), "");
    OnPointerUp({127, 224});

    FinishLoad();
    EXPECT_FALSE(source_.loaded_on_dialog_thread);
    const std::vector<std::string> shown = host_.Panel().candidates;
    ASSERT_EQ(shown.size(), 10u);
    EXPECT_EQ(shown.front(), "十");
    ASSERT_EQ(source_.searched.size(), 1u);
    EXPECT_EQ(source_.searched[0][0].front().x, 30) << "canvas pixels, in the order drawn";

    // Left and started again: the model stays loaded.
    OnEscape();
    OnLookup(LookupAction::Start);
    EXPECT_EQ(host_.Panel().status, "Draw a kanji on the canvas");
    EXPECT_EQ(source_.locates, 1);
    EXPECT_EQ(source_.loads, 1);
}

TEST_F(LookupTest, UndoClearAndTapsChangeTheStrokesAsTheySay) {
    OnLookup(LookupAction::Start);
    FinishLoad();
    const struct {
        const char* name;
        std::function<void()> act;
        size_t strokes;
        const char* best;  // nothing: no candidates
    } steps[] = {
        {"a cross", [this] { DrawCross(); }, 2, "十"},
        {"a tap", [] { OnPointerDown({50, 50}), OnPointerUp({50, 50}); }, 2, "十"},
        {"a stroke off the canvas", [this] { Draw({300, 30}, {300, 200}); }, 2, "十"},
        {"undo", [] { OnLookup(LookupAction::Undo); }, 1, "一"},
        {"undo", [] { OnLookup(LookupAction::Undo); }, 0, nullptr},
        {"undo of nothing", [] { OnLookup(LookupAction::Undo); }, 0, nullptr},
        {"three strokes", [this] { DrawCross(), Draw({40, 40}, {200, 200}); }, 3, "口"},
        {"clear", [] { OnLookup(LookupAction::Clear); }, 0, nullptr},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        const LookupPanel panel = host_.Panel();
        EXPECT_EQ(panel.can_undo, step.strokes > 0);
        if (step.best) {
            ASSERT_FALSE(panel.candidates.empty());
            EXPECT_EQ(panel.candidates.front(), step.best);
            EXPECT_EQ(source_.searched.back().size(), step.strokes);
        } else {
            EXPECT_TRUE(panel.candidates.empty());
        }
    }
    EXPECT_EQ(Paint().GetPixel(127, 128), gfx::kWhite) << "cleared";
}

TEST_F(LookupTest, EveryWayOutShowsTheCharacterAgainAndPracticeAndLookUpTakeTurns) {
    OnCommand(kIdNext);
    const gfx::Bitmap before = Paint();
    const fs::path other = dialog_test::WriteCharacter(dir_.path(), "other", "D;", {{0, 0, 9, 9}});
    const struct {
        const char* name;
        std::function<void()> press;
        bool same_picture;
    } ways[] = {
        {"Esc", [] { OnEscape(); }, true},
        {"the menu", [] { OnLookup(LookupAction::Leave); }, true},
        {"practice", [] { OnPractice(PracticeAction::Trace); }, false},
        {"Stop", [] { OnCommand(kIdStop); }, false},
        {"a load", [&] { OnDropFiles({other}); }, false},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        OnDropFiles({bars_});
        OnCommand(kIdNext);
        OnLookup(LookupAction::Start);
        ASSERT_TRUE(CurrentLookup().active);
        Draw({30, 128}, {224, 128});
        way.press();
        EXPECT_FALSE(CurrentLookup().active);
        EXPECT_FALSE(host_.Panel().shown);
        if (way.same_picture) {
            EXPECT_EQ(Paint().GetPixel(60, 128), before.GetPixel(60, 128));
            EXPECT_EQ(ShownStroke.load(), 0) << "the stroke > showed";
        }
    }
    EXPECT_TRUE(host_.Ended().empty());
    // Practice was left for look-up, and look-up for practice.
    OnDropFiles({bars_});
    OnPractice(PracticeAction::Trace);
    OnLookup(LookupAction::Start);
    EXPECT_FALSE(CurrentPractice().active);
    EXPECT_TRUE(CurrentLookup().active);
}

TEST_F(LookupTest, AChosenCandidateLoadsAndPlays) {
    OnLookup(LookupAction::Start);
    FinishLoad();
    Draw({30, 128}, {224, 128});
    OnLookupCandidate(10);
    EXPECT_TRUE(CurrentLookup().active) << "no tenth button";
    OnLookupCandidate(0);
    EXPECT_EQ(host_.Panel().status, "Cannot load 一") << "not in the set";
    EXPECT_TRUE(CurrentLookup().active);
    Draw({127, 30}, {127, 224});
    OnLookupCandidate(0);
    EXPECT_FALSE(host_.Panel().shown);
    EXPECT_EQ(ScriptPath.filename(), fs::path(u8"十.zep"));
    EXPECT_EQ(RegionFiles.size(), 2u);
    EXPECT_TRUE(dialog_test::WaitFor([this] { return host_.Fronts() > 0; })) << "it plays";
}

// The tool window opens to the right of the player where the screen has
// room for it, else below the player, and never off the screen.
TEST(ToolWindowPlace, BesideThePlayerWhereItFitsAndAlwaysOnTheScreen) {
    const gfx::Rect screen{0, 0, 1000, 700};
    const struct {
        const char* name;
        gfx::Rect dialog;
        int32_t width, height;
        gfx::Point at;
    } cases[] = {
        {"room on the right", {100, 100, 400, 450}, 300, 120, {408, 100}},
        {"just room on the right", {100, 100, 400, 450}, 592, 120, {408, 100}},
        {"no room on the right: below", {300, 100, 700, 450}, 590, 120, {300, 458}},
        {"below, kept on the screen", {500, 500, 900, 690}, 590, 120, {410, 580}},
        {"larger than the screen: its corner", {0, 0, 400, 300}, 1200, 900, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToolWindowPlace(c.dialog, c.width, c.height, screen, 8), c.at) << c.name;
    }
}

}  // namespace
}  // namespace player
