#include <gtest/gtest.h>

#include "zep/script.h"

namespace player {
namespace {

constexpr CommandKind W = CommandKind::Wait;
constexpr CommandKind L = CommandKind::LinearSweep;
constexpr CommandKind P = CommandKind::PivotSweep;
constexpr CommandKind D = CommandKind::Draw;

struct ParseCase {
    const char* name;
    std::string text;
    std::vector<StrokeCommand> expected;
};

class ParseScriptTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseScriptTest, GivesTheCommands) {
    EXPECT_EQ(ParseScript(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ParseScriptTest,
    ::testing::Values(
        ParseCase{"empty", "", {}},
        ParseCase{"only_blanks_and_semicolons", " ;\t;\r\n; ;", {}},
        ParseCase{"four_kinds", "D;W;L,90;P,0,180,127,127", {{D}, {W}, {L, 90}, {P, 0, 180, 127, 127}}},
        ParseCase{"example_character", "L,0;\nW;\nP,180,360,127,127;\nW;\nD;\n",
                  {{L, 0}, {W}, {P, 180, 360, 127, 127}, {W}, {D}}},
        ParseCase{"lower_case_skipped", "d;D;", {{D}}},
        ParseCase{"line_break_separates_nothing", "D\nD", {{D}}},
        ParseCase{"other_first_bytes_skipped", "1;,D;#;\x80W;xL,5;", {}},
        ParseCase{"field_blanks_and_trailing_bytes", "L, 45 ,abc", {{L, 45}}},
        ParseCase{"inner_blanks_of_a_piece_stay", " L \t, 7 ", {{L, 7}}},
        ParseCase{"negative", "L,-90", {{L, -90}}},
        ParseCase{"letters_give_zero", "L,abc", {{L, 0}}},
        ParseCase{"sign_and_white_space", "L,\v\f+12x;L,- 3;L,--4", {{L, 12}, {L, 0}, {L, 0}}},
        ParseCase{"saturates_high", "L,99999999999", {{L, 2147483647}}},
        ParseCase{"saturates_low", "L,-99999999999", {{L, -2147483647 - 1}}},
        ParseCase{"limits_exact", "P,2147483647,-2147483648,0,0",
                  {{P, 2147483647, -2147483647 - 1, 0, 0}}},
        ParseCase{"long_zero_run", "L,00000000000000000000000000042", {{L, 42}}},
        ParseCase{"rest_of_field_zero_ignored", "Wait;D,1,2;L12,30;Draw", {{W}, {D}, {L, 30}, {D}}},
        ParseCase{"fifth_number_ignored", "P,1,2,3,4,5", {{P, 1, 2, 3, 4}}},
        // Short commands keep their place in the stroke order; missing numbers are 0.
        ParseCase{"short_l", "L;L,", {{L, 0}, {L, 0}}},
        ParseCase{"short_p", "P,10,20;D", {{P, 10, 20, 0, 0}, {D}}},
        // An editor's byte-order mark before the first command; elsewhere it is an ordinary byte.
        ParseCase{"byte_order_mark", "\xEF\xBB\xBF" "L,5;W;\xEF\xBB\xBF" "D", {{L, 5}, {W}}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(SplitStringTest, KeepsEmptyPiecesAndStopsWhenAsked) {
    std::vector<std::string_view> pieces;
    const auto all = [&pieces](std::string_view piece) {
        pieces.push_back(piece);
        return true;
    };
    SplitString(";a;;b;", ";", all);
    EXPECT_EQ(pieces, (std::vector<std::string_view>{"", "a", "", "b", ""}));
    pieces.clear();
    SplitString("", ",", all);
    EXPECT_EQ(pieces, (std::vector<std::string_view>{""}));
    pieces.clear();
    SplitString("a,b,c", ",", [&pieces](std::string_view piece) {
        pieces.push_back(piece);
        return pieces.size() < 2;
    });
    EXPECT_EQ(pieces, (std::vector<std::string_view>{"a", "b"}));
}

TEST(TrimStringTest, RemovesBlanksAtBothEndsOnly) {
    EXPECT_EQ(TrimString(" \t a b \r\n", " \t\r\n"), "a b");
    EXPECT_EQ(TrimString(" \n\t", " \t\r\n"), "");
}

}  // namespace
}  // namespace player
