// Holding strokes to the reference's order: small hand-made characters, each
// drawn in its own box so that only a fitted match can pair them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zepkit/assignment.h"
#include "zepkit/japanese_order.h"
#include "zepkit/reference_strokes.h"

namespace {

using zepkit::ReferenceStroke;
using zepkit::StrokeData;

struct Line {
    double x1, y1, x2, y2;
};

std::vector<StrokeData> Ours(const std::vector<Line>& lines) {
    std::vector<StrokeData> strokes;
    for (const Line& l : lines) strokes.push_back({{}, {{l.x1, l.y1}, {l.x2, l.y2}}});
    return strokes;
}

// The reference draws in its own units, a tenth of ours.
std::vector<ReferenceStroke> Theirs(const std::vector<Line>& lines) {
    std::vector<ReferenceStroke> strokes;
    for (const Line& l : lines) {
        strokes.push_back({{l.x1 / 10, l.y1 / 10}, {l.x2 / 10, l.y2 / 10}});
    }
    return strokes;
}

struct Case {
    const char* name;
    std::vector<Line> ours;
    std::vector<Line> theirs;  // before the reference's scaling
    std::vector<Line> after;   // our strokes once the reference is followed
    bool reported;             // left as read in some part, with a reason
};

constexpr Line kBar{20, 60, 100, 60};
constexpr Line kBarBackwards{100, 60, 20, 60};
constexpr Line kPost{60, 20, 60, 100};
constexpr Line kLowBar{20, 100, 100, 100};

const Case kCases[] = {
    {"same order kept", {kBar, kPost, kLowBar}, {kBar, kPost, kLowBar}, {kBar, kPost, kLowBar},
     false},
    // Unfitted, the reference's strokes would lie nearer the other of ours.
    {"other units fitted", {{60, 60, 100, 20}, {100, 20, 100, 100}},
     {{60, 60, 100, 20}, {100, 20, 100, 100}}, {{60, 60, 100, 20}, {100, 20, 100, 100}}, false},
    {"swapped pair reordered", {kPost, kBar, kLowBar}, {kBar, kPost, kLowBar},
     {kBar, kPost, kLowBar}, false},
    {"three strokes in a cycle reordered", {kPost, kLowBar, kBar}, {kBar, kPost, kLowBar},
     {kBar, kPost, kLowBar}, false},
    {"reversed stroke reversed", {kBarBackwards, kPost}, {kBar, kPost}, {kBar, kPost}, false},
    // A dot at 100 degrees to the reference's is neither way round.
    {"square stroke left", {{60, 60, 64, 80}, kBar}, {{60, 60, 40, 60}, kBar},
     {{60, 60, 64, 80}, kBar}, true},
    // Two bars half a unit apart, crossed over: a match either way is as good.
    {"ambiguous match left", {kBar, {20, 60.5, 100, 60.5}, kPost},
     {{20, 60.5, 100, 60.5}, kBar, kPost}, {kBar, {20, 60.5, 100, 60.5}, kPost},
     true},
    {"stroke counts differ", {kPost, kBar}, {kBar, kPost, kLowBar}, {kPost, kBar}, true},
};

bool Reported(const zepkit::JapaneseOrderCheck& check) {
    return check.status == zepkit::ReferenceStatus::CountDiffers || check.order_ambiguous ||
           !check.directions_left.empty();
}

TEST(JapaneseOrder, FollowsTheReferenceOnlyWhereItIsClear) {
    for (const Case& c : kCases) {
        std::vector<StrokeData> strokes = Ours(c.ours);
        const zepkit::JapaneseOrderCheck check =
            zepkit::CompareWithReference(strokes, Theirs(c.theirs));
        zepkit::FollowReference(check, strokes);
        ASSERT_EQ(strokes.size(), c.after.size()) << c.name;
        for (size_t i = 0; i < strokes.size(); ++i) {
            const Line& want = c.after[i];
            const auto& median = strokes[i].median;
            EXPECT_EQ(median.front().x, want.x1) << c.name << ", stroke " << i;
            EXPECT_EQ(median.front().y, want.y1) << c.name << ", stroke " << i;
            EXPECT_EQ(median.back().x, want.x2) << c.name << ", stroke " << i;
            EXPECT_EQ(median.back().y, want.y2) << c.name << ", stroke " << i;
        }
        EXPECT_EQ(Reported(check), c.reported) << c.name;
        EXPECT_EQ(zepkit::InReferenceOrder(check, true),
                  check.status == zepkit::ReferenceStatus::Compared && !check.order_ambiguous)
            << c.name;
    }
}

// The cheapest assignment of a table whose greedy row-by-row choice is wrong.
TEST(JapaneseOrder, AssignmentIsTheCheapestOverall) {
    const zepkit::CostTable cost{{1, 2, 9}, {1, 9, 9}, {9, 2, 3}};
    const std::vector<size_t> columns = zepkit::CheapestAssignment(cost);
    EXPECT_EQ(columns, (std::vector<size_t>{1, 0, 2}));
    EXPECT_EQ(zepkit::AssignmentCost(cost, columns), 6);
}

TEST(JapaneseOrder, ReferenceFileIsReadOrRefusedWithAReason) {
    struct Row {
        const char* text;
        size_t characters;  // 0: refused
    };
    const Row rows[] = {
        {R"({"1": {"一": [[25, 126, 226, 116]]}, "2": {"二": [[1, 2, 3, 4], [5, 6, 7, 8.5]]}})", 2},
        {"[1, 2]", 0},
        {"{\"1\": [1]}", 0},
        {R"({"1": {"一": [[25, 126, 226]]}})", 0},
        {R"({"1": {"一": [["25", 126, 226, 116]]}})", 0},
        {R"({"1": {"一": []}})", 0},
        {R"({"1": {"一": [[25, 126, 1e300, 116]]}})", 0},
        {"{\"1\": {", 0},
    };
    for (const Row& row : rows) {
        zepkit::ReferenceStrokes set;
        std::string error;
        const bool read = zepkit::ParseReferenceStrokes(row.text, set, error);
        EXPECT_EQ(read, row.characters > 0) << row.text;
        EXPECT_EQ(error.empty(), read) << row.text;
        if (read) {
            EXPECT_EQ(set.size(), row.characters) << row.text;
        }
    }
}

}  // namespace
