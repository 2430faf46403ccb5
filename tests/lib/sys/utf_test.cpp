#include "sys/utf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u16string units;
};

constexpr char16_t R = 0xFFFD;

TEST(Utf8ToUtf16, DecodesWellFormedAndReplacesEachBrokenPart) {
    const std::vector<DecodeCase> cases = {
        {"empty", "", u""},
        {"ascii", "a-Z", u"a-Z"},
        {"kanji", "\xE6\xBC\xA2\xE5\xAD\x97", u"漢字"},
        {"emoji is a pair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
        {"highest code point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
        {"stray continuation", "a\x80" "b", {u'a', R, u'b'}},
        {"byte that never leads", "\xFF\xFE\xF5", {R, R, R}},
        {"overlong two-byte", "\xC0\x80", {R, R}},
        {"overlong three-byte", "\xE0\x80\x80", {R, R, R}},
        {"overlong four-byte", "\xF0\x8F\xBF\xBF", {R, R, R, R}},
        {"encoded surrogate", "\xED\xA0\x80", {R, R, R}},
        {"above U+10FFFF", "\xF4\x90\x80\x80", {R, R, R, R}},
        {"cut off at the end", "\xE6\xBC", {R}},
        {"cut off before ascii", "\xE6\xBC" "a", {R, u'a'}},
        {"cut-off four-byte before kanji", "\xF0\x9F\x98\xE5\xAD\x97", {R, u'字'}},
        {"two leads in a row", "\xE6\xE6\xBC\xA2", {R, u'漢'}},
    };
    for (const DecodeCase& c : cases) {
        EXPECT_EQ(sys::Utf8ToUtf16(c.bytes), c.units) << c.name;
    }
}

TEST(Utf16ToCodePoints, JoinsPairsAndReplacesLoneSurrogates) {
    EXPECT_EQ(sys::Utf16ToCodePoints(u"\xD83D\xDE00漢"), U"\U0001F600漢");
    EXPECT_EQ(sys::Utf16ToCodePoints(u"a\xD83D"), (std::u32string{U'a', sys::kReplacementChar}));
    EXPECT_EQ(sys::Utf16ToCodePoints(u"\xDE00\xD83D"),
              (std::u32string{sys::kReplacementChar, sys::kReplacementChar}));
    EXPECT_EQ(sys::Utf16ToCodePoints(u"\xD83D" "a"), (std::u32string{sys::kReplacementChar, U'a'}));
}

TEST(AppendUtf8, WritesTheShortestFormAtEachLengthBoundary) {
    const std::vector<std::pair<char32_t, std::string>> cases = {
        {0x00, std::string(1, '\0')},   {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},             {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},  {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& [cp, bytes] : cases) {
        std::string out;
        sys::AppendUtf8(out, cp);
        EXPECT_EQ(out, bytes) << std::hex << static_cast<unsigned>(cp);
    }
}

TEST(Utf, EveryCodePointSurvivesTheRoundTrip) {
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::string bytes;
        sys::AppendUtf8(bytes, cp);
        const std::u32string back = sys::Utf16ToCodePoints(sys::Utf8ToUtf16(bytes));
        ASSERT_EQ(back, std::u32string(1, cp)) << std::hex << static_cast<unsigned>(cp);
    }
}

}  // namespace
