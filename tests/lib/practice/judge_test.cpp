// The judge on the bundled characters, written as a learner would: strokes
// along their centre-lines, in order or not, forwards or backwards, traced or
// shifted and scaled on an empty canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "practice/judge.h"
#include "zep/document.h"

namespace {

namespace fs = std::filesystem;
using practice::Ink;
using practice::Mode;
using practice::Reason;
using practice::Verdict;

// Centre-lines of the samples' strokes (samples/src), in writing order.
const std::vector<Ink> kSan = {{{56, 52}, {128, 48}, {194, 45}},
                               {{74, 124}, {128, 121}, {178, 118}},
                               {{26, 202}, {128, 197}, {220, 193}}};
const std::vector<Ink> kKuchi = {{{52, 54}, {55, 132}, {58, 212}},
                                 {{52, 54}, {128, 50}, {200, 46}, {197, 126}, {193, 198}},
                                 {{58, 198}, {128, 196}, {190, 194}}};
const std::vector<Ink> kEi = {{{110, 22}, {122, 32}, {128, 42}},
                              {{80, 72}, {124, 66}, {126, 140}, {124, 204}, {121, 216}, {96, 197}},
                              {{36, 116}, {90, 104}, {74, 146}, {52, 180}, {22, 208}},
                              {{204, 80}, {180, 102}, {146, 124}},
                              {{142, 122}, {168, 160}, {196, 194}, {212, 210}, {238, 222}}};

std::shared_ptr<const practice::CharacterModel> Load(const std::string& name) {
    std::error_code ec;
    const auto document = player::ReadDocument(fs::path(SAMPLES_DIR) / (name + ".zep"), ec);
    if (!document) return nullptr;
    return practice::BuildCharacterModel(document->commands, document->region_files);
}

// Many points along the line, as a pointer reports them, with a slight wobble.
Ink Written(const Ink& line, double scale = 1, double dx = 0, double dy = 0) {
    Ink ink;
    for (size_t i = 1; i < line.size(); ++i) {
        for (int k = 0; k < 10; ++k) {
            const double t = k / 10.0;
            const double wobble = 1.5 * std::sin(static_cast<double>(ink.size()));
            ink.push_back(
                {(line[i - 1].x + (line[i].x - line[i - 1].x) * t) * scale + dx,
                 (line[i - 1].y + (line[i].y - line[i - 1].y) * t) * scale + dy + wobble});
        }
    }
    ink.push_back({line.back().x * scale + dx, line.back().y * scale + dy});
    return ink;
}

Ink Reversed(Ink ink) {
    std::reverse(ink.begin(), ink.end());
    return ink;
}

struct Expected {
    Verdict verdict;
    size_t expected;
    Reason reason = Reason::None;
    std::optional<size_t> matches = std::nullopt;
};

struct SessionCase {
    const char* name;
    const char* character;
    Mode mode;
    std::vector<Ink> strokes;
    std::vector<Expected> results;
    bool complete;
};

const Expected Correct(size_t n) { return {Verdict::Correct, n, Reason::None, n}; }

class SessionTest : public testing::TestWithParam<SessionCase> {};

TEST_P(SessionTest, JudgesEachStroke) {
    const SessionCase& c = GetParam();
    const auto model = Load(c.character);
    ASSERT_TRUE(model);
    practice::Judge judge(model, c.mode);
    ASSERT_EQ(c.strokes.size(), c.results.size());
    int mistakes = 0;
    for (size_t i = 0; i < c.strokes.size(); ++i) {
        const practice::StrokeResult r = judge.Add(c.strokes[i]);
        EXPECT_EQ(r.verdict, c.results[i].verdict) << "stroke " << i;
        EXPECT_EQ(r.expected, c.results[i].expected) << "stroke " << i;
        EXPECT_EQ(r.reason, c.results[i].reason) << "stroke " << i;
        EXPECT_EQ(r.matches, c.results[i].matches) << "stroke " << i;
        mistakes += r.verdict == Verdict::Mistake;
    }
    EXPECT_EQ(judge.complete(), c.complete);
    EXPECT_EQ(judge.mistakes(), mistakes);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, SessionTest,
    testing::Values(
        SessionCase{"InOrder",
                    "san",
                    Mode::Trace,
                    {Written(kSan[0]), Written(kSan[1]), Written(kSan[2])},
                    {Correct(0), Correct(1), Correct(2)},
                    true},
        // Each of three parallel strokes is taken for itself, not for a neighbour.
        SessionCase{"NeighboursOutOfOrder",
                    "san",
                    Mode::Trace,
                    {Written(kSan[1]), Written(kSan[0]), Written(kSan[2]), Written(kSan[1])},
                    {{Verdict::Mistake, 0, Reason::LaterStroke, 1},
                     Correct(0),
                     {Verdict::Mistake, 1, Reason::LaterStroke, 2},
                     Correct(1)},
                    false},
        SessionCase{"Backwards",
                    "san",
                    Mode::Trace,
                    {Reversed(Written(kSan[0])), Written(kSan[0])},
                    {{Verdict::Mistake, 0, Reason::Backwards, 0}, Correct(0)},
                    false},
        // A scratch at the start of a stroke, and lines across the character.
        SessionCase{"Off",
                    "kuchi",
                    Mode::Trace,
                    {Written({{52, 54}, {53, 70}}), Written({{20, 240}, {240, 20}}),
                     Written({{128, 20}, {128, 240}})},
                    {{Verdict::Mistake, 0, Reason::Off},
                     {Verdict::Mistake, 0, Reason::Off},
                     {Verdict::Mistake, 0, Reason::Off}},
                    false},
        // Fewer than two distinct points is no stroke at all.
        SessionCase{
            "Ignored",
            "san",
            Mode::Trace,
            // Points no pointer reports are no points.
            {Ink{}, Ink{{60, 50}}, Ink{{60, 50}, {60, 50}},
             Ink{{1e300, 50}, {NAN, 50}, {60, 50}, {-INFINITY, 50}}, Written(kSan[0])},
            {{Verdict::Ignored, 0},
             {Verdict::Ignored, 0},
             {Verdict::Ignored, 0},
             {Verdict::Ignored, 0},
             Correct(0)},
            false},
        // The first stroke of 永 is shown at once: either way round it is right.
        SessionCase{"DrawnStrokeEitherWay",
                    "ei",
                    Mode::Trace,
                    {Reversed(Written(kEi[0])), Written(kEi[1]), Written(kEi[2]), Written(kEi[3]),
                     Written(kEi[4])},
                    {Correct(0), Correct(1), Correct(2), Correct(3), Correct(4)},
                    true},
        SessionCase{"TurningStrokeBackwards",
                    "kuchi",
                    Mode::Trace,
                    {Written(kKuchi[0]), Reversed(Written(kKuchi[1]))},
                    {Correct(0), {Verdict::Mistake, 1, Reason::Backwards, 1}},
                    false},
        // On an empty canvas, smaller and elsewhere.
        SessionCase{"RecallShiftedAndScaled",
                    "kuchi",
                    Mode::Recall,
                    {Written(kKuchi[0], 0.7, 50, 30), Written(kKuchi[1], 0.7, 50, 30),
                     Written(kKuchi[2], 0.7, 50, 30)},
                    {Correct(0), Correct(1), Correct(2)},
                    true},
        SessionCase{"RecallOutOfOrder",
                    "san",
                    Mode::Recall,
                    {Written(kSan[0], 0.8, 30, 20), Written(kSan[2], 0.8, 30, 20),
                     Reversed(Written(kSan[1], 0.8, 30, 20))},
                    {Correct(0),
                     {Verdict::Mistake, 1, Reason::LaterStroke, 2},
                     {Verdict::Mistake, 1, Reason::Backwards, 1}},
                    false}),
    [](const testing::TestParamInfo<SessionCase>& param) { return param.param.name; });

TEST(Judge, PlacesARecalledCharacterAndCountsMistakesPerStroke) {
    const auto model = Load("kuchi");
    ASSERT_TRUE(model);
    practice::Judge judge(model, Mode::Recall);
    EXPECT_EQ(judge.Add(Reversed(Written(kKuchi[0], 0.7, 50, 30))).reason, Reason::Backwards);
    EXPECT_EQ(judge.Add(Written({{20, 240}, {240, 20}})).verdict, Verdict::Mistake);
    EXPECT_EQ(judge.mistakes_on_expected(), 2);
    EXPECT_EQ(judge.Add(Written(kKuchi[0], 0.7, 50, 30)).verdict, Verdict::Correct);
    EXPECT_EQ(judge.mistakes_on_expected(), 0);
    EXPECT_EQ(judge.Add(Written(kKuchi[2], 0.7, 50, 30)).reason, Reason::LaterStroke);
    EXPECT_EQ(judge.mistakes_on_expected(), 1);
    EXPECT_EQ(judge.Add(Written(kKuchi[1], 0.7, 50, 30)).verdict, Verdict::Correct);
    EXPECT_EQ(judge.Add(Written(kKuchi[2], 0.7, 50, 30)).verdict, Verdict::Correct);
    EXPECT_EQ(judge.mistakes(), 3);
    // Where the accepted strokes are drawn: near enough to lie over the ink (a stroke is
    // about 10 pixels wide at this size).
    const practice::Placement p = judge.placement();
    for (const practice::Point model_point : {practice::Point{52, 54}, practice::Point{193, 198}}) {
        const practice::Point placed = practice::Placed(p, model_point);
        EXPECT_NEAR(placed.x, model_point.x * 0.7 + 50, 7);
        EXPECT_NEAR(placed.y, model_point.y * 0.7 + 30, 7);
    }
    // Tracing leaves the character where it is shown.
    practice::Judge tracing(model, Mode::Trace);
    tracing.Add(Written(kKuchi[0], 1, 6, 6));
    EXPECT_EQ(tracing.placement().scale, 1);
    EXPECT_EQ(tracing.placement().dx, 0);
}

// A wider leniency accepts what the default refuses, never the reverse.
TEST(Judge, LeniencyWidensEveryBound) {
    const auto model = Load("san");
    ASSERT_TRUE(model);
    const Ink high = Written(kSan[0], 1, 0, -45);
    EXPECT_EQ(practice::Judge(model, Mode::Trace).Add(high).verdict, Verdict::Mistake);
    EXPECT_EQ(practice::Judge(model, Mode::Trace, 2.0).Add(high).verdict, Verdict::Correct);
    EXPECT_EQ(practice::Judge(model, Mode::Trace, 0.5).Add(Written(kSan[0])).verdict,
              Verdict::Correct);
}

TEST(CharacterModel, CountsStrokesPastPausesAndRefusesMissingShapes) {
    const auto model = Load("san");
    ASSERT_TRUE(model);
    EXPECT_EQ(practice::StrokeCount(*model), 3u);
    EXPECT_EQ(practice::CommandOfStroke(*model, 0), 0u);
    EXPECT_EQ(practice::CommandOfStroke(*model, 2), 4u);  // after two W pauses

    std::error_code ec;
    auto document = player::ReadDocument(fs::path(SAMPLES_DIR) / "san.zep", ec);
    ASSERT_TRUE(document);
    document->region_files.pop_back();
    EXPECT_FALSE(practice::BuildCharacterModel(document->commands, document->region_files));
    EXPECT_FALSE(practice::BuildCharacterModel({}, {}));
    // A judge with no character judges nothing.
    practice::Judge none(nullptr, Mode::Trace);
    EXPECT_TRUE(none.complete());
    EXPECT_EQ(none.Add(Written(kSan[0])).verdict, Verdict::Ignored);
}

}  // namespace
