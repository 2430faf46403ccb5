// The bundled characters: their region files come out of their descriptions
// again, their scripts fit them, and playing them reveals every stroke whole,
// from where the brush starts to where it ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "animation/engine.h"
#include "animation/recording_effects.h"
#include "generated_files.h"
#include "stroke_outline.h"
#include "zep/document.h"
#include "zep/region_load.h"
#include "zep/script.h"

namespace {

using namespace samples_test;
using player::CommandKind;

const fs::path kSamples = kSourceDir / "samples";

std::vector<std::string> SampleNames() {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(kSamples / "src")) {
        if (entry.path().extension() == ".strokes") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string Numbered(const std::string& name, size_t n, const char* extension) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%02zu%s", n, extension);
    return name + suffix;
}

std::vector<tools::StrokeOutline> Outlines(const std::string& name) {
    const Bytes bytes = ReadBytes(kSamples / "src" / (name + ".strokes"));
    std::vector<tools::StrokeOutline> strokes;
    std::string error;
    EXPECT_TRUE(tools::ParseStrokeOutlines(std::string(bytes.begin(), bytes.end()), strokes, error)) << error;
    return strokes;
}

TEST(Samples, ShipTheTenCharacters) {
    const std::vector<std::string> names = SampleNames();
    for (const char* name : {"ichi", "ni", "san", "juu", "hito", "dai", "kuchi", "yama", "kawa", "ei"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
}

class Sample : public testing::TestWithParam<std::string> {};

TEST_P(Sample, RegionFilesComeOutOfTheDescriptionAgain) {
    const std::string name = GetParam();
    const size_t strokes = Outlines(name).size();
    ASSERT_GT(strokes, 0u);
    const TempDir dir;
    ASSERT_EQ(RunProgram(DRAW_STROKES_PATH, {(kSamples / "src" / (name + ".strokes")).string(),
                                             (dir.path() / name).string()}),
              0);
    for (size_t n = 0; n < strokes; ++n) {
        const fs::path picture = dir.path() / Numbered(name, n, ".bmp");
        ASSERT_EQ(RunProgram(FELMAR_PATH, {picture.string()}), 0) << picture;
        const Bytes committed = ReadBytes(kSamples / Numbered(name, n, ".rgn"));
        EXPECT_FALSE(committed.empty()) << Numbered(name, n, ".rgn");
        EXPECT_EQ(ReadBytes(picture.string() + ".rgn"), committed) << Numbered(name, n, ".rgn");
    }
    // A file left over from an earlier version would become a stroke of its own.
    EXPECT_FALSE(fs::exists(kSamples / Numbered(name, strokes, ".rgn")));
}

TEST_P(Sample, ScriptPlaysEachStrokeOnceAndPausesAfterIt) {
    const std::string name = GetParam();
    std::error_code ec;
    const std::optional<player::Document> document = player::ReadDocument(kSamples / (name + ".zep"), ec);
    ASSERT_TRUE(document) << ec.message();
    const std::vector<player::StrokeCommand>& commands = document->commands;
    const size_t strokes = Outlines(name).size();
    EXPECT_EQ(document->region_files.size(), strokes);
    ASSERT_EQ(commands.size(), 2 * strokes);
    for (size_t i = 0; i < strokes; ++i) {
        EXPECT_NE(commands[2 * i].kind, CommandKind::Wait) << "command " << 2 * i;
        EXPECT_EQ(commands[2 * i + 1].kind, CommandKind::Wait) << "command " << 2 * i + 1;
    }
}

bool IsRed(const gfx::Bitmap& frame, int32_t x, int32_t y) { return frame.GetPixel(x, y) == gfx::kRed; }

// Each stroke is played on its own, so red pixels are that stroke's alone.
// Sweeps advance a frame at a time: the points of the centre-line must turn
// red in the order the brush passes them, and by the last frame before the
// end picture every pixel of the stroke must be red.
TEST_P(Sample, PlayingRevealsEachStrokeWholeInWritingDirection) {
    const std::string name = GetParam();
    std::error_code ec;
    const std::optional<player::Document> document = player::ReadDocument(kSamples / (name + ".zep"), ec);
    ASSERT_TRUE(document) << ec.message();
    const std::vector<player::StrokeCommand>& commands = document->commands;
    const std::vector<fs::path>& files = document->region_files;
    const std::vector<tools::StrokeOutline> outlines = Outlines(name);

    size_t stroke = 0;
    for (const player::StrokeCommand& command : commands) {
        if (command.kind == CommandKind::Wait) continue;
        ASSERT_LT(stroke, outlines.size());
        SCOPED_TRACE("stroke " + std::to_string(stroke));
        player::PlayingFlag playing(1);
        player::RecordingEffects recorder(playing);
        player::RunAnimation(std::span(&command, 1), std::span(&files[stroke], 1), playing, recorder);
        std::vector<std::shared_ptr<const gfx::Bitmap>> frames;
        for (const player::TimedFrame& f : recorder.Frames()) frames.push_back(f.frame);
        ASSERT_GE(frames.size(), 3u);

        const gfx::MaybeRegion shape = player::LoadRegionFile(files[stroke]);
        ASSERT_TRUE(shape);
        const gfx::Bitmap& last = *frames[frames.size() - 2];
        int32_t missed = 0;
        for (const gfx::Rect& r : shape->Rects()) {
            for (int32_t y = r.top; y < r.bottom; ++y) {
                for (int32_t x = r.left; x < r.right; ++x) missed += IsRed(last, x, y) ? 0 : 1;
            }
        }
        EXPECT_EQ(missed, 0) << "pixels never painted";

        const auto first_red = [&](const tools::BrushPoint& p) {
            size_t f = 0;
            while (f < frames.size() && !IsRed(*frames[f], p.x, p.y)) ++f;
            return f;
        };
        const std::vector<tools::BrushPoint>& points = outlines[stroke].points;
        size_t previous = 0;
        for (const tools::BrushPoint& p : points) {
            const size_t f = first_red(p);
            EXPECT_LT(f, frames.size()) << p.x << "," << p.y << " never red";
            EXPECT_GE(f, previous) << p.x << "," << p.y << " turns red before the point ahead of it";
            previous = f;
        }
        if (command.kind != CommandKind::Draw) {
            EXPECT_LT(first_red(points.front()), first_red(points.back())) << "the start does not turn red before the end";
        }
        ++stroke;
    }
    EXPECT_EQ(stroke, outlines.size());
}

INSTANTIATE_TEST_SUITE_P(Bundled, Sample, testing::ValuesIn(SampleNames()),
                         [](const testing::TestParamInfo<std::string>& row) { return row.param; });

}  // namespace
