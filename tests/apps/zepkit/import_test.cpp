#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>
#include <system_error>
#include <vector>

#include "animation/engine.h"
#include "animation/recording_effects.h"
#include "lookup/stroke_index.h"
#include "support/character_files.h"
#include "zep/character_files.h"
#include "zep/document.h"
#include "zep/region_load.h"
#include "zep/script_format.h"
#include "zepkit/import.h"
#include "zepkit/order_fidelity.h"
#include "zepkit/stroke_data.h"

namespace {

using player::CommandKind;
using player::StrokeCommand;
using player_test::ScratchDir;
namespace fs = std::filesystem;

// A bar across the top, written left to right, and below it, not touching
// it, a stroke that goes down and then hooks to the right (y points up in
// the data). Curves and lines, absolute and relative.
constexpr char kHookCharacter[] = R"({
  "strokes": ["M100,700 Q500,690 900,700 L900,760 C600,770 400,770 100,760 Z",
              "M470,640 l60,0 0,-420 300,0 0,-60 -360,0 Z"],
  "medians": [[[120,730],[880,730]],
              [[500,620],[500,190],[800,190]]]
})";

fs::path WriteSource(const ScratchDir& dir, const std::string& name, const std::string& text) {
    fs::create_directories(dir.path() / "package");
    return dir.Write("package/" + name + ".json", text);
}

// The frame of the animation in which each pixel first turns red, played
// through the engine itself.
std::map<std::pair<int32_t, int32_t>, int32_t> FirstRedFrames(const player::Document& document) {
    player::PlayingFlag playing(1);
    player::RecordingEffects recorder(playing);
    player::RunAnimation(document.commands, document.region_files, playing, recorder);
    std::map<std::pair<int32_t, int32_t>, int32_t> first;
    int32_t number = 0;
    for (const player::Effect* e : recorder.Of(player::EffectKind::Frame)) {
        if (!e->frame) continue;
        const gfx::Region red = player_test::PixelsOf(*e->frame, gfx::kRed);
        for (const gfx::Rect& r : red.Rects()) {
            for (int32_t y = r.top; y < r.bottom; ++y) {
                for (int32_t x = r.left; x < r.right; ++x) first.emplace(std::pair{x, y}, number);
            }
        }
        ++number;
    }
    return first;
}

// The fidelity the importer reports is the one the engine's own animation
// shows: its frames, taken from the pictures it publishes, give the same
// tau-b for every stroke.
TEST(Import, FidelityMatchesTheEnginesAnimation) {
    const ScratchDir dir;
    const fs::path source = WriteSource(dir, "hook", kHookCharacter);
    const zepkit::ImportResult result = zepkit::ImportCharacter(source);
    ASSERT_EQ(result.error, "");
    ASSERT_EQ(result.strokes.size(), 2u);
    std::string written;
    ASSERT_TRUE(player::WriteCharacterFiles(result.character, dir.path(), written)) << written;

    std::string error;
    const auto strokes = zepkit::ParseCharacter(kHookCharacter, error);
    std::error_code ec;
    const std::optional<player::Document> document = player::ReadDocument(dir.path() / "hook.zep", ec);
    ASSERT_TRUE(document) << ec.message();
    const auto first = FirstRedFrames(*document);
    for (size_t n = 0; n < 2; ++n) {
        const gfx::MaybeRegion shape = player::LoadStrokeRegion(document->region_files, n);
        ASSERT_TRUE(shape);
        std::vector<int32_t> frames;
        const auto centres = zepkit::PixelCentres(*shape);
        for (const zepkit::PointD& c : centres) {
            const auto found = first.find({static_cast<int32_t>(c.x), static_cast<int32_t>(c.y)});
            ASSERT_NE(found, first.end())
                << "stroke " << n << " never painted at " << c.x << "," << c.y;
            frames.push_back(found->second);
        }
        const double seen =
            zepkit::KendallTauB(zepkit::PositionsAlong((*strokes)[n].median, centres), frames);
        EXPECT_NEAR(result.strokes[n].fidelity, seen, 1e-12) << "stroke " << n;
        EXPECT_GT(seen, 0.8) << "stroke " << n;
    }
    // The hook turns: only a pivot sweep follows it.
    EXPECT_EQ(document->commands.size(), 4u);
    EXPECT_EQ(document->commands[2].kind, CommandKind::PivotSweep);
}

// A malformed file is named and refused; the others are still imported.
// The set keeps each stroke's path for the look-up, in writing order: the bar
// left to right, the hook down and then to the right.
TEST(Import, KeepsEachStrokesPathInWritingOrder) {
    const ScratchDir dir;
    const zepkit::ImportResult result =
        zepkit::ImportCharacter(WriteSource(dir, "hook", kHookCharacter));
    ASSERT_EQ(result.error, "");
    const auto strokes = lookup::DecodeStrokePaths(result.character.stroke_paths);
    ASSERT_TRUE(strokes);
    ASSERT_EQ(strokes->size(), 2u);
    const auto& bar = (*strokes)[0].path;
    const auto& hook = (*strokes)[1].path;
    ASSERT_GE(bar.size(), 8u);
    ASSERT_GE(hook.size(), 8u);
    EXPECT_GT(bar.back().x - bar.front().x, 150);
    EXPECT_GT(hook[hook.size() / 2].y - hook.front().y, 40);
    EXPECT_GT(hook.back().x - hook[hook.size() / 2].x, 30);
}

TEST(Import, RefusesABadFileAndGoesOn) {
    const ScratchDir dir;
    const std::vector<fs::path> sources{
        WriteSource(dir, "good", kHookCharacter),
        WriteSource(dir, "bad", R"({"strokes": ["M0,0 L"], "medians": [[[0,0]]]})"),
        dir.path() / "package" / "missing.json"};
    size_t last_count = 0;
    const auto results =
        zepkit::ImportAll(sources, nullptr, 2, [&](size_t n) { last_count = n; });
    EXPECT_EQ(last_count, 3u);
    EXPECT_EQ(results[0].error, "");
    EXPECT_EQ(results[0].character.name, "good");
    EXPECT_EQ(results[0].character.regions.size(), 2u);
    EXPECT_FALSE(results[0].character.grade);
    EXPECT_NE(results[1].error, "");
    EXPECT_NE(results[2].error, "");
    EXPECT_TRUE(results[1].character.regions.empty());
}

// Whatever the numbers, the parser reads back what the writer wrote.
TEST(FormatScript, RoundTripsThroughTheParser) {
    const std::vector<StrokeCommand> commands{
        {CommandKind::LinearSweep, 90},
        {CommandKind::Wait},
        {CommandKind::PivotSweep, -45, 405, -300, 1000},
        {CommandKind::Draw},
        {CommandKind::PivotSweep, INT_MIN, INT_MAX, INT_MAX, INT_MIN},
        {CommandKind::LinearSweep, -2147483647},
    };
    EXPECT_EQ(player::ParseScript(player::FormatScript(commands)), commands);
    EXPECT_EQ(player::FormatScript({}), "");
}

}  // namespace
