// The look-up on characters drawn for these tests: each a few strokes in
// writing order, pairs of them alike but for proportions or order (土 and 士,
// 未 and 末, 右 and 石, 人 and 入), among others.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "lookup/character_index.h"
#include "lookup/recognizer.h"
#include "lookup/stroke_index.h"
#include "support/character_files.h"
#include "zep/character_store.h"

namespace {

namespace fs = std::filesystem;
using lookup::IndexedStroke;
using practice::Ink;

using Strokes = std::vector<std::vector<practice::Point>>;

const std::map<std::string, Strokes>& Characters() {
    static const std::map<std::string, Strokes> characters = {
        {"一", {{{40, 127}, {214, 127}}}},
        {"二", {{{70, 80}, {184, 80}}, {{40, 190}, {214, 190}}}},
        {"十", {{{40, 110}, {214, 110}}, {{127, 30}, {127, 230}}}},
        {"土", {{{80, 100}, {174, 100}}, {{127, 40}, {127, 200}}, {{40, 200}, {214, 200}}}},
        {"士", {{{40, 100}, {214, 100}}, {{127, 40}, {127, 200}}, {{80, 200}, {174, 200}}}},
        {"工", {{{60, 50}, {194, 50}}, {{127, 50}, {127, 200}}, {{40, 200}, {214, 200}}}},
        {"未",
         {{{80, 80}, {174, 80}}, {{40, 130}, {214, 130}}, {{127, 30}, {127, 230}},
          {{125, 135}, {50, 210}}, {{129, 135}, {204, 210}}}},
        {"末",
         {{{40, 80}, {214, 80}}, {{80, 130}, {174, 130}}, {{127, 30}, {127, 230}},
          {{125, 135}, {50, 210}}, {{129, 135}, {204, 210}}}},
        {"右",
         {{{120, 30}, {100, 110}, {40, 200}}, {{30, 75}, {220, 75}}, {{95, 130}, {95, 220}},
          {{95, 130}, {200, 130}, {200, 220}}, {{95, 215}, {200, 215}}}},
        {"石",
         {{{30, 50}, {220, 50}}, {{110, 50}, {90, 120}, {45, 200}}, {{95, 130}, {95, 220}},
          {{95, 130}, {200, 130}, {200, 220}}, {{95, 215}, {200, 215}}}},
        {"人", {{{127, 40}, {110, 140}, {40, 220}}, {{120, 110}, {214, 220}}}},
        {"入", {{{90, 50}, {127, 90}, {60, 220}}, {{127, 90}, {214, 220}}}},
        {"口",
         {{{70, 70}, {70, 190}}, {{70, 70}, {184, 70}, {184, 190}}, {{70, 185}, {184, 185}}}},
    };
    return characters;
}

// As the set keeps a stroke: the centres of twelve equal slices along it.
std::vector<IndexedStroke> Indexed(const Strokes& strokes) {
    std::vector<IndexedStroke> indexed;
    for (const auto& line : strokes) {
        const Ink even = practice::Resampled(line, 25);
        IndexedStroke stroke;
        for (size_t k = 1; k < even.size(); k += 2) stroke.path.push_back(even[k]);
        indexed.push_back(stroke);
    }
    return indexed;
}

// The character written smaller and off the centre, each stroke as a pen
// reports it: points every few pixels, a little uneven.
std::vector<Ink> Written(const Strokes& strokes) {
    std::vector<Ink> drawing;
    int wobble = 0;
    for (const auto& line : strokes) {
        Ink ink;
        for (size_t i = 0; i + 1 < line.size(); ++i) {
            for (int k = 0; k < 20; ++k) {
                const double t = k / 20.0, w = ((wobble++ % 5) - 2) * 0.4;
                const double x = line[i].x + (line[i + 1].x - line[i].x) * t;
                const double y = line[i].y + (line[i + 1].y - line[i].y) * t;
                ink.push_back({30 + 0.7 * x + w, 10 + 0.7 * y - w});
            }
        }
        ink.push_back({30 + 0.7 * line.back().x, 10 + 0.7 * line.back().y});
        drawing.push_back(ink);
    }
    return drawing;
}

lookup::CharacterIndex Index() {
    lookup::CharacterIndex index;
    for (const auto& [name, strokes] : Characters()) index.Add(name, Indexed(strokes));
    return index;
}

TEST(StrokeIndex, KeepsPathsToThePixelAndRefusesDamagedBytes) {
    const std::vector<IndexedStroke> strokes = {{true, {{10.4, 20.6}, {300, -5}}},
                                                {false, {{1, 2}}}};
    const auto decoded = lookup::DecodeStrokePaths(lookup::EncodeStrokePaths(strokes));
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 2u);
    EXPECT_TRUE((*decoded)[0].direction_judged);
    EXPECT_FALSE((*decoded)[1].direction_judged);
    ASSERT_EQ((*decoded)[0].path.size(), 2u);
    EXPECT_EQ((*decoded)[0].path[0].x, 10);
    EXPECT_EQ((*decoded)[0].path[0].y, 21);
    EXPECT_EQ((*decoded)[0].path[1].x, 255);  // kept within the square
    EXPECT_EQ((*decoded)[0].path[1].y, 0);

    const std::string good = lookup::EncodeStrokePaths(strokes);
    for (const std::string& bad : {std::string(), good.substr(0, good.size() - 1), good + "x",
                                   std::string("\x01\x02\x00", 3)}) {
        EXPECT_FALSE(lookup::DecodeStrokePaths(bad)) << bad.size();
    }
}

// Written in order, each character is found first, ahead of its look-alike,
// even small and off the centre; written in another order it is still found,
// at a higher cost.
TEST(CharacterIndex, RanksTheCharacterWrittenFirstAndAnotherOrderLower) {
    const lookup::CharacterIndex index = Index();
    for (const auto& [name, strokes] : Characters()) {
        const auto found = index.Rank(lookup::DrawingShape(Written(strokes)), {}, {}, 10);
        ASSERT_FALSE(found.empty()) << name;
        EXPECT_EQ(found[0], name);
    }
    for (const char* name : {"土", "未", "右", "口"}) {
        Strokes swapped = Characters().at(name);
        std::reverse(swapped.begin(), swapped.end());
        const auto found = index.Rank(lookup::DrawingShape(Written(swapped)), {}, {}, 10);
        const auto at = std::find(found.begin(), found.end(), name);
        EXPECT_LT(at - found.begin(), 5) << name;
        const lookup::Shape own = lookup::CharacterShape(Indexed(Characters().at(name)));
        EXPECT_GT(lookup::MatchCost(lookup::DrawingShape(Written(swapped)), own),
                  lookup::MatchCost(lookup::DrawingShape(Written(Characters().at(name))), own))
            << name;
    }
}

// Where and how large the drawing is does not count; the direction of a stroke
// does, unless it is a stroke shown at once, which has none.
TEST(MatchCost, IgnoresPlaceAndSizeAndTheDirectionOfShownStrokes) {
    for (const auto& [name, strokes] : Characters()) {
        const lookup::Shape own = lookup::CharacterShape(Indexed(strokes));
        const std::vector<Ink> drawn = Written(strokes);
        std::vector<Ink> moved = drawn;
        for (Ink& ink : moved) {
            for (practice::Point& p : ink) p = {p.x * 0.5 + 100, p.y * 0.5 + 20};
        }
        const double cost = lookup::MatchCost(lookup::DrawingShape(drawn), own);
        EXPECT_NEAR(lookup::MatchCost(lookup::DrawingShape(moved), own), cost, 1e-9) << name;

        std::vector<Ink> reversed = drawn;
        std::reverse(reversed.back().begin(), reversed.back().end());
        std::vector<IndexedStroke> shown = Indexed(strokes);
        shown.back().direction_judged = false;
        EXPECT_GT(lookup::MatchCost(lookup::DrawingShape(reversed), own), cost + 0.02) << name;
        EXPECT_NEAR(lookup::MatchCost(lookup::DrawingShape(reversed), lookup::CharacterShape(shown)),
                    lookup::MatchCost(lookup::DrawingShape(drawn), lookup::CharacterShape(shown)),
                    1e-9)
            << name;
    }
}

// The model in a data folder comes first; without one, nothing or the
// package's.
TEST(FindHandwritingModel, LooksInTheDataFoldersFirst) {
    const player_test::ScratchDir dir;
    fs::create_directories(dir.path() / "b");
    dir.Write("b/handwriting-ja.model", "m");
    const std::vector<fs::path> folders = {dir.path() / "a", dir.path() / "b"};
    EXPECT_EQ(lookup::FindHandwritingModel(folders), dir.path() / "b" / "handwriting-ja.model");
    EXPECT_EQ(lookup::FindHandwritingModel({dir.path() / "a"}).has_value(),
              fs::exists("/usr/share/tegaki/models/zinnia/handwriting-ja.model"));
}

// The model's score counts, but less than the strokes: it breaks near ties
// and cannot lift a character whose strokes do not fit.
TEST(CharacterIndex, WeighsTheModelsGuessesBelowTheStrokes) {
    const lookup::CharacterIndex index = Index();
    const lookup::Shape drawn = lookup::DrawingShape(Written(Characters().at("土")));
    const lookup::Tuning tuning;
    EXPECT_EQ(index.Rank(drawn, {{"工", 0.9}}, tuning, 1)[0], "土");
    EXPECT_EQ(index.Rank(drawn, {{"一", 2.0}}, tuning, 1)[0], "土");
    // A character outside the drawing's stroke count is compared when the model proposes it.
    const auto found = index.Rank(drawn, {{"右", 0.1}}, tuning, 20);
    EXPECT_NE(std::find(found.begin(), found.end(), "右"), found.end());
    EXPECT_EQ(std::find(found.begin(), found.end(), "未"), found.end());
    EXPECT_TRUE(index.Rank({}, {{"口", 0.1}}, tuning, 10).empty());
}

#ifdef HANDWRITING_MODEL
// With the installed model and a set of these characters: the drawing's
// candidates come from the set only, and what cannot be read is named.
TEST(Recognizer, FindsTheSetsCharactersAndNamesWhatItCannotRead) {
    const player_test::ScratchDir dir;
    std::vector<player::StoredCharacter> set;
    for (const auto& [name, strokes] : Characters()) {
        set.push_back({name, "D;", {}, {}, lookup::EncodeStrokePaths(Indexed(strokes))});
    }
    std::string error;
    ASSERT_TRUE(player::WriteCharacterStore(dir.path() / "kanji.sqlite", set, error)) << error;
    const auto recognizer =
        lookup::Recognizer::Load(HANDWRITING_MODEL, dir.path() / "kanji.sqlite", error);
    ASSERT_TRUE(recognizer) << error;
    for (const char* name : {"二", "右", "末"}) {
        const auto found = recognizer->Candidates(Written(Characters().at(name)), 10);
        ASSERT_FALSE(found.empty()) << name;
        EXPECT_EQ(found[0], name);
        for (const std::string& f : found) EXPECT_TRUE(Characters().count(f)) << f;
    }
    const std::vector<Ink> dots = {{{5, 5}, {5, 5}}, {}};
    EXPECT_TRUE(recognizer->Candidates(dots, 10).empty());

    EXPECT_FALSE(lookup::Recognizer::Load(dir.path() / "none.model", dir.path() / "kanji.sqlite",
                                          error));
    EXPECT_NE(error.find("none.model"), std::string::npos) << error;
    dir.Write("bad.model", "not a model");
    EXPECT_FALSE(lookup::Recognizer::Load(dir.path() / "bad.model", dir.path() / "kanji.sqlite",
                                          error));
    EXPECT_NE(error.find("not a handwriting model"), std::string::npos) << error;
    EXPECT_FALSE(lookup::Recognizer::Load(HANDWRITING_MODEL, dir.path() / "bad.model", error));
    EXPECT_NE(error.find("bad.model"), std::string::npos) << error;
}
#endif

}  // namespace

